#pragma once
// The problems the checker found, one a line: the file at fault and what is wrong with it.
// Checks only add; the report prints each distinct line once, grouped by file in the order found, with
// every control character shown as an escape: a tag or file name cannot erase, forge or split a line.

#include <string>
#include <vector>

struct TProblem {
    std::string file;
    std::string text;
};

struct TCheckReport {
    std::vector<TProblem> problems;

    void Add(const std::string& file, const std::string& text);
    // Prints "FILE: what is wrong" lines to standard output; returns how many it printed.
    int Print() const;
};

// A text in double quotes, for naming tags and paths inside messages.
std::string Quoted(const std::string& text);
// The text as it is printed: control characters (C0, DEL, C1) and bytes that are no UTF-8 as "\n", "\t",
// "\r" or "\xHH"; everything else as it is.
std::string Printable(const std::string& text);
