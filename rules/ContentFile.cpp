#include "rules/ContentFile.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string_view>

namespace {

void AppendBounded(std::string& joined, const std::string& piece) {
    if (joined.size() >= MaxLineBytes) return;
    joined.append(piece, 0, MaxLineBytes - joined.size());
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

// Whether a decimal number that a double cannot hold is too large rather than too small: the power of ten
// of its first significant digit, plus its exponent, is positive. digits is the text without sign or
// exponent; exponent is the text after "e" (with its sign), or empty.
bool TooLarge(std::string_view digits, std::string_view exponent) {
    const size_t point = std::min(digits.find('.'), digits.size());
    const size_t first = digits.find_first_not_of("0.");
    if (first == std::string_view::npos) return false;
    int64_t power =
        first < point ? static_cast<int64_t>(point - first) : -static_cast<int64_t>(first - point);
    bool negative = false;
    size_t i = 0;
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
        negative = exponent[0] == '-';
        ++i;
    }
    // Far beyond any double's exponent, and far from overflowing the sum.
    constexpr int64_t Enough = int64_t{1} << 40;
    int64_t shift = 0;
    for (; i < exponent.size(); ++i)
        shift = std::min(shift * 10 + (exponent[i] - '0'), Enough);
    power += negative ? -shift : shift;
    return power > 0;
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
    return rawPos == std::string::npos && EndOfFile(stream);
}

std::string TContentFile::NextLine() {
    if (rawPos == std::string::npos) {
        raw = ReadLine(stream);
        rawPos = 0;
    }
    const size_t zero = raw.find('\0', rawPos);
    const size_t end = zero == std::string::npos ? raw.size() : zero;
    std::string line;
    for (size_t i = rawPos; i < end && line.size() < MaxLineBytes; ++i) {
        if (raw[i] != '\r') line.push_back(raw[i]);
    }
    rawPos = zero == std::string::npos ? std::string::npos : zero + 1;
    return line;
}

std::string TContentFile::FindLine(const std::string& key) {
    if (stream == nullptr) return "NULL";
    while (!AtEnd()) {
        std::string line = NextLine();
        if (line.find(key) == std::string::npos) continue;
        if (line.find('{') != std::string::npos && line.find('}') == std::string::npos) {
            // Each line is tested as cut, so a "}" beyond the cap of its line does not close the block.
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
    raw.clear();
    rawPos = std::string::npos;
    SeekStart(stream);
}

void TContentFile::Close() {
    Rewind();
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
    const size_t mantissaEnd = i;
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
    const std::errc error = std::from_chars(text.data() + start, text.data() + i, value).ec;
    if (error == std::errc::result_out_of_range) {
        const std::string_view all(text);
        const std::string_view exponent =
            i > mantissaEnd ? all.substr(mantissaEnd + 1, i - mantissaEnd - 1) : std::string_view();
        value = TooLarge(all.substr(start, mantissaEnd - start), exponent)
                    ? std::numeric_limits<double>::max()
                    : 0.0;
    }
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
