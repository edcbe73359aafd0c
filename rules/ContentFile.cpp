#include "rules/ContentFile.hpp"

#include <charconv>
#include <cstdint>

namespace {

// A "{" block that never closes would otherwise swallow the rest of a file of any size.
constexpr size_t MaxJoinedBytes = MaxLineBytes;

void AppendBounded(std::string& joined, const std::string& piece) {
    if (joined.size() >= MaxJoinedBytes) return;
    joined.append(piece, 0, MaxJoinedBytes - joined.size());
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Where a number's digits begin: after leading blanks and one optional sign, which it reports.
size_t SkipBlanksAndSign(const std::string& text, bool& negative) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    return i;
}

int DigitValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

} // namespace

TContentFile TContentFile::Open(const std::string& path) {
    TContentFile file;
    file.path = path;
    file.stream = OpenTextFile(path);
    return file;
}

bool TContentFile::AtEnd() const {
    return pending.empty() && EndOfFile(stream);
}

std::string TContentFile::NextLine() {
    if (pending.empty()) {
        const std::string raw = ReadLine(stream);
        std::string piece;
        for (const char c : raw) {
            if (c == '\r') continue;
            if (c == '\0') {
                pending.push_back(std::move(piece));
                piece.clear();
                continue;
            }
            piece.push_back(c);
        }
        pending.push_back(std::move(piece));
    }
    std::string line = std::move(pending.front());
    pending.pop_front();
    return line;
}

std::string TContentFile::FindLine(const std::string& key) {
    if (stream == nullptr) return "NULL";
    while (!AtEnd()) {
        std::string line = NextLine();
        if (line.find(key) == std::string::npos) continue;
        if (line.find('{') != std::string::npos && line.find('}') == std::string::npos) {
            // The joined text holds a "}" exactly when some appended line held one.
            while (!AtEnd()) {
                const std::string next = NextLine();
                AppendBounded(line, next);
                if (next.find('}') != std::string::npos) break;
            }
        }
        return line;
    }
    Rewind();
    return "NULL";
}

std::string TContentFile::FindSingle(const std::string& key) {
    std::string line = FindLine(key);
    Rewind();
    return line;
}

void TContentFile::Rewind() {
    pending.clear();
    SeekStart(stream);
}

void TContentFile::Close() {
    pending.clear();
    CloseFile(stream);
    stream = nullptr;
}

std::string TContentFile::QuotedArg(const std::string& line, int index) {
    if (index < 0) index = 0;
    size_t from = 0;
    for (int field = 0;; ++field) {
        const size_t open = line.find('"', from);
        if (open == std::string::npos) return "NULL";
        const size_t close = line.find('"', open + 1);
        if (close == std::string::npos) return line.substr(open + 1);
        if (field == index) return line.substr(open + 1, close - open - 1);
        from = close + 1;
    }
}

int TContentFile::ToInt(const std::string& text) {
    bool negative = false;
    size_t i = SkipBlanksAndSign(text, negative);
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i < text.size() && text[i] == '%') {
        base = 2;
        ++i;
    }
    // Unsigned arithmetic wraps on overlong digit runs instead of overflowing.
    uint32_t value = 0;
    for (; i < text.size() && DigitValue(text[i]) < base; ++i) {
        value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(DigitValue(text[i]));
    }
    if (negative) value = 0u - value;
    return static_cast<int>(value);
}

double TContentFile::ToReal(const std::string& text) {
    bool negative = false;
    size_t i = SkipBlanksAndSign(text, negative);
    const size_t start = i;
    // Only the plain decimal form counts, so "inf", "nan" and hex forms read as 0.0.
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    if (i < text.size() && text[i] == '.') ++i;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    const bool hasDigits = i > start && !(i == start + 1 && text[start] == '.');
    if (!hasDigits) return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j]))
                ++j;
            i = j;
        }
    }
    double value = 0.0;
    std::from_chars(text.data() + start, text.data() + i, value);
    return negative ? -value : value;
}

int TContentFile::LoadDirectory(const std::string& directory,
                                const std::function<void(const std::string&)>& loader) {
    int count = 0;
    for (const std::string& name : ListDirectory(directory)) {
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".txt") != 0) continue;
        loader(directory + "/" + name);
        ++count;
    }
    return count;
}
