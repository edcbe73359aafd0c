#include "tools/check/CheckReport.hpp"

#include <cstdint>
#include <cstdio>
#include <set>
#include <unordered_map>
#include <utility>

namespace {

// The length of the well-formed UTF-8 sequence at `at` whose character is no control character, or 0.
size_t PrintableSequence(const std::string& text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || at + length > text.size()) return 0;
    uint32_t code = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        code = code << 6 | (byte(at + i) & 0x3F);
    }
    const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return code <= 0x9F ? 0 : length; // the C1 controls
}

} // namespace

std::string Printable(const std::string& text) {
    std::string shown;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F) {
            shown += text[i++];
            continue;
        }
        const size_t length = c >= 0x80 ? PrintableSequence(text, i) : 0;
        if (length > 0) {
            shown.append(text, i, length);
            i += length;
            continue;
        }
        const char* named = c == '\n' ? "\\n" : c == '\t' ? "\\t" : c == '\r' ? "\\r" : nullptr;
        char hex[5];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        shown += named != nullptr ? named : hex;
        ++i;
    }
    return shown;
}

void TCheckReport::Add(const std::string& file, const std::string& text) {
    problems.push_back({file, text});
}

int TCheckReport::Print() const {
    // Files in the order each first appeared, so related lines stay together.
    std::unordered_map<std::string, size_t> fileAt;
    std::vector<std::vector<const TProblem*>> byFile;
    for (const TProblem& p : problems) {
        const auto [at, fresh] = fileAt.emplace(p.file, byFile.size());
        if (fresh) byFile.emplace_back();
        byFile[at->second].push_back(&p);
    }
    std::set<std::pair<std::string, std::string>> printed;
    for (const auto& lines : byFile) {
        for (const TProblem* p : lines) {
            if (!printed.insert({p->file, p->text}).second) continue;
            std::printf("%s: %s\n", Printable(p->file).c_str(), Printable(p->text).c_str());
        }
    }
    return static_cast<int>(printed.size());
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}
