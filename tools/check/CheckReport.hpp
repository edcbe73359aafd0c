#pragma once
// The problems the checker found, one a line: the file at fault and what is wrong with it.
// Checks only add; the report prints each distinct line once, grouped by file in the order found.

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
