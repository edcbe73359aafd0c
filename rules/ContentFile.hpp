#pragma once
// Reader of one content text file, used by every content loader, plus the loading of a whole directory.
// Created and closed by the loader of the file. It never fails and never reports: a file that cannot be
// opened reads as a file without lines, and absent lines and fields read as "NULL".

#include "platform/Platform.hpp"

#include <functional>
#include <string>

// Longest line the reader hands out: each line is cut here after zero bytes have split it, and a joined
// "{" block is cut here as a whole, so that no content file can make one line of unbounded size.
inline constexpr size_t MaxLineBytes = size_t{1} << 20;

struct TContentFile {
    TTextFile stream;
    std::string path;
    // The last line read from the stream, and where its next piece begins (zero bytes end pieces too);
    // npos once every piece has been handed out.
    std::string raw;
    size_t rawPos = std::string::npos;

    static TContentFile Open(const std::string& path);
    // The next line from the read position that carries the key, with a "{" block joined to it;
    // "NULL" (and the reader back at the top) when no further line carries it.
    std::string FindLine(const std::string& key);
    // A single-valued key: FindLine from the top, then back to the top, so such lines stand in any order.
    std::string FindSingle(const std::string& key);
    void Rewind();
    void Close();

    // Field number index (from 0) between double quotes, or "NULL"; an unclosed quote runs to the end.
    static std::string QuotedArg(const std::string& line, int index);
    // Leading blanks, a sign, then decimal digits, "$" hex digits or "%" binary digits; 0 without digits.
    static int ToInt(const std::string& text);
    // The decimal floating-point prefix of the text, or 0.0; a magnitude beyond a double's range
    // saturates to the largest double, one too small for it reads as 0.0.
    static double ToReal(const std::string& text);

    // Hands every ".txt" entry of the directory (no descent) to the loader; returns how many it handed.
    static int LoadDirectory(const std::string& directory,
                             const std::function<void(const std::string&)>& loader);

  private:
    bool AtEnd() const;
    std::string NextLine();
};
