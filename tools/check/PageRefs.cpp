#include "tools/check/PageRefs.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace {

// Attributes whose value is one address.
constexpr std::array<const char*, 16> AddressAttributes = {
    "href",     "src",      "action",   "formaction", "data",   "poster", "background", "cite",
    "longdesc", "manifest", "codebase", "icon",       "lowsrc", "dynsrc", "xlink:href", "profile"};
// Schemes a script's text may name without the "//" of a host.
constexpr std::array<const char*, 6> ScriptSchemes = {"http:", "https:", "ws:", "wss:", "ftp:", "file:"};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

char LowerCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsLetter(char c) {
    return LowerCase(c) >= 'a' && LowerCase(c) <= 'z';
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), LowerCase);
    return text;
}

size_t FindNoCase(const std::string& text, const std::string& lowerNeedle, size_t from) {
    const auto found =
        std::search(text.begin() + static_cast<std::ptrdiff_t>(std::min(from, text.size())), text.end(),
                    lowerNeedle.begin(), lowerNeedle.end(), [](char a, char b) { return LowerCase(a) == b; });
    return found == text.end() ? std::string::npos : static_cast<size_t>(found - text.begin());
}

std::string Trimmed(const std::string& text) {
    size_t start = 0;
    size_t end = text.size();
    while (start < end && IsBlank(text[start]))
        ++start;
    while (end > start && IsBlank(text[end - 1]))
        --end;
    return text.substr(start, end - start);
}

// A character beyond the first plane spells no address; it stands as the replacement character.
void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        if (code > 0xFFFF) code = 0xFFFD;
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

int DigitIn(char c, int base) {
    const char low = LowerCase(c);
    const int value = low >= '0' && low <= '9' ? low - '0' : low >= 'a' && low <= 'f' ? low - 'a' + 10 : 99;
    return value < base ? value : -1;
}

// An attribute's value as the browser reads it: numeric character references, and the named ones that
// can spell an address ("&colon;", "&sol;" ...), become their characters.
std::string Unreferenced(const std::string& text) {
    static const std::pair<const char*, char> named[] = {
        {"amp;", '&'},    {"colon;", ':'},  {"sol;", '/'},      {"bsol;", '\\'},
        {"period;", '.'}, {"quot;", '"'},   {"apos;", '\''},    {"lt;", '<'},
        {"gt;", '>'},     {"Tab;", '\t'},   {"NewLine;", '\n'}, {"num;", '#'},
        {"quest;", '?'},  {"equals;", '='}, {"percnt;", '%'},   {"commat;", '@'}};
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            plain += text[i];
            continue;
        }
        if (i + 2 < text.size() && text[i + 1] == '#') {
            const int base = LowerCase(text[i + 2]) == 'x' ? 16 : 10;
            size_t end = i + (base == 16 ? 3 : 2);
            uint32_t code = 0;
            for (; end < text.size() && DigitIn(text[end], base) >= 0 && code <= 0x10FFFF; ++end)
                code = code * static_cast<uint32_t>(base) + static_cast<uint32_t>(DigitIn(text[end], base));
            if (end > i + (base == 16 ? 3 : 2)) {
                AppendUtf8(plain, code);
                i = end < text.size() && text[end] == ';' ? end : end - 1;
                continue;
            }
        }
        const auto* match = std::find_if(std::begin(named), std::end(named), [&](const auto& entry) {
            return text.compare(i + 1, std::char_traits<char>::length(entry.first), entry.first) == 0;
        });
        if (match == std::end(named)) {
            plain += '&';
            continue;
        }
        plain += match->second;
        i += std::char_traits<char>::length(match->first);
    }
    return plain;
}

struct TTag {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    size_t end = 0; // just past the closing '>'

    std::string Value(const std::string& attribute) const {
        for (const auto& [key, value] : attributes) {
            if (key == attribute) return value;
        }
        return "";
    }
};

// The tag opening at `at`, a '<' followed by a letter.
TTag ReadTag(const std::string& html, size_t at) {
    TTag tag;
    const size_t n = html.size();
    size_t i = at + 1;
    while (i < n && !IsBlank(html[i]) && html[i] != '>' && html[i] != '/')
        tag.name += LowerCase(html[i++]);
    for (;;) {
        while (i < n && (IsBlank(html[i]) || html[i] == '/'))
            ++i;
        if (i >= n || html[i] == '>') break;
        std::string name(1, LowerCase(html[i++])); // even a stray '=' is a name here, so the walk moves on
        while (i < n && !IsBlank(html[i]) && html[i] != '>' && html[i] != '=' && html[i] != '/')
            name += LowerCase(html[i++]);
        while (i < n && IsBlank(html[i]))
            ++i;
        std::string value;
        if (i < n && html[i] == '=') {
            ++i;
            while (i < n && IsBlank(html[i]))
                ++i;
            if (i < n && (html[i] == '"' || html[i] == '\'')) {
                const size_t close = html.find(html[i], i + 1);
                value = html.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1);
                i = close == std::string::npos ? n : close + 1;
            } else {
                while (i < n && !IsBlank(html[i]) && html[i] != '>')
                    value += html[i++];
            }
        }
        tag.attributes.emplace_back(name, Unreferenced(value));
    }
    tag.end = std::min(i + 1, n);
    return tag;
}

// The url(...) and @import "..." of a style sheet.
void AddStyleRefs(const std::string& css, const std::string& where, std::vector<TPageRef>& refs) {
    for (size_t at = FindNoCase(css, "url(", 0); at != std::string::npos;
         at = FindNoCase(css, "url(", at + 4)) {
        const size_t close = css.find(')', at + 4);
        std::string address =
            Trimmed(css.substr(at + 4, close == std::string::npos ? std::string::npos : close - at - 4));
        if (address.size() >= 2 && (address.front() == '"' || address.front() == '\'') &&
            address.back() == address.front())
            address = address.substr(1, address.size() - 2);
        refs.push_back({where + " url", address});
    }
    for (size_t at = FindNoCase(css, "@import", 0); at != std::string::npos;
         at = FindNoCase(css, "@import", at + 7)) {
        size_t open = at + 7;
        while (open < css.size() && IsBlank(css[open]))
            ++open;
        if (open >= css.size() || (css[open] != '"' && css[open] != '\'')) continue;
        const size_t close = css.find(css[open], open + 1);
        refs.push_back(
            {where + " import",
             css.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1)});
    }
}

// A script's string literal with its escapes undone, as far as they can spell an address.
std::string ScriptString(const std::string& script, size_t& i) {
    const char quote = script[i++];
    std::string text;
    for (; i < script.size() && script[i] != quote; ++i) {
        if (script[i] != '\\' || i + 1 >= script.size()) {
            text += script[i];
            continue;
        }
        const char escaped = script[++i];
        const int digits = escaped == 'x' ? 2 : escaped == 'u' ? 4 : 0;
        uint32_t code = 0;
        int read = 0;
        for (; read < digits && i + 1 < script.size() && DigitIn(script[i + 1], 16) >= 0; ++read)
            code = code * 16 + static_cast<uint32_t>(DigitIn(script[++i], 16));
        if (digits > 0 && read == digits)
            AppendUtf8(text, code);
        else
            text += escaped;
    }
    return text;
}

bool NamesAnAddress(const std::string& literal) {
    const std::string lower = Lower(Trimmed(literal));
    if (lower.starts_with("//") || lower.starts_with("\\\\")) return lower.size() > 2;
    const size_t colon = lower.find(':');
    if (colon == std::string::npos || colon < 2) return false;
    if (!std::all_of(lower.begin(), lower.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
            return IsLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        }))
        return false;
    if (lower.compare(colon, 3, "://") == 0) return true;
    return std::any_of(ScriptSchemes.begin(), ScriptSchemes.end(),
                       [&](const char* scheme) { return lower.starts_with(scheme); });
}

// Addresses a script writes out whole: its string literals that begin with a scheme or a host.
void AddScriptRefs(const std::string& script, const std::string& where, std::vector<TPageRef>& refs) {
    for (size_t i = 0; i < script.size(); ++i) {
        const char c = script[i];
        if (c == '/' && i + 1 < script.size() && script[i + 1] == '/') {
            i = std::min(script.find('\n', i), script.size());
        } else if (c == '/' && i + 1 < script.size() && script[i + 1] == '*') {
            const size_t close = script.find("*/", i + 2);
            i = close == std::string::npos ? script.size() : close + 1;
        } else if (c == '"' || c == '\'' || c == '`') {
            const std::string literal = ScriptString(script, i);
            if (NamesAnAddress(literal)) refs.push_back({where, Trimmed(literal)});
        }
    }
}

void AddList(const std::string& list, const std::string& where, bool sizes, std::vector<TPageRef>& refs) {
    size_t start = 0;
    while (start < list.size()) {
        // A srcset lists "address size" pairs between commas; ping and archive list addresses between blanks.
        size_t end = sizes ? list.find(',', start) : list.find_first_of(" \t\n\r\f,", start);
        if (end == std::string::npos) end = list.size();
        std::string item = Trimmed(list.substr(start, end - start));
        if (sizes) item = item.substr(0, item.find_first_of(" \t\n\r\f"));
        if (!item.empty()) refs.push_back({where, item});
        start = end + 1;
    }
}

// "5; url=page.html" and its variants, as a refresh names the page it goes to.
std::string RefreshTarget(const std::string& content) {
    size_t at = content.find_first_of(";,");
    if (at == std::string::npos) return "";
    std::string rest = Trimmed(content.substr(at + 1));
    if (Lower(rest).starts_with("url")) {
        const size_t equals = rest.find('=');
        if (equals != std::string::npos) rest = Trimmed(rest.substr(equals + 1));
    }
    if (!rest.empty() && (rest.front() == '"' || rest.front() == '\'')) {
        const size_t close = rest.find(rest.front(), 1);
        rest = rest.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    return rest;
}

void AddTagRefs(const TTag& tag, std::vector<TPageRef>& refs) {
    for (const auto& attribute : tag.attributes) {
        const std::string& name = attribute.first;
        const std::string& value = attribute.second;
        const std::string where = tag.name + " " + name;
        const bool address =
            std::find_if(AddressAttributes.begin(), AddressAttributes.end(),
                         [&](const char* a) { return name == a; }) != AddressAttributes.end();
        if (address) {
            refs.push_back({where, Trimmed(value)});
            if (Lower(Trimmed(value)).starts_with("javascript:")) AddScriptRefs(value, where, refs);
        } else if (name == "srcset") {
            AddList(value, where, true, refs);
        } else if (name == "ping" || name == "archive") {
            AddList(value, where, false, refs);
        } else if (name == "style") {
            AddStyleRefs(value, tag.name + " style", refs);
        } else if (name.starts_with("on")) {
            AddScriptRefs(value, where, refs);
        } else if (tag.name == "meta" && name == "content" && Lower(tag.Value("http-equiv")) == "refresh") {
            const std::string target = RefreshTarget(value);
            if (!target.empty()) refs.push_back({"meta refresh", target});
        }
    }
}

} // namespace

std::vector<TPageRef> PageRefs(const std::string& html) {
    std::vector<TPageRef> refs;
    const size_t n = html.size();
    for (size_t i = html.find('<'); i != std::string::npos; i = html.find('<', i)) {
        if (html.compare(i, 4, "<!--") == 0) {
            const size_t close = html.find("-->", i + 4);
            i = close == std::string::npos ? n : close + 3;
            continue;
        }
        if (i + 1 >= n || !IsLetter(html[i + 1])) {
            ++i;
            continue;
        }
        const TTag tag = ReadTag(html, i);
        AddTagRefs(tag, refs);
        i = tag.end;
        // Their text is no markup: a script's strings and a style sheet's urls are read as such.
        if (tag.name == "script" || tag.name == "style") {
            const size_t close = FindNoCase(html, "</" + tag.name, i);
            const std::string text =
                html.substr(i, close == std::string::npos ? std::string::npos : close - i);
            if (tag.name == "script")
                AddScriptRefs(text, "script", refs);
            else
                AddStyleRefs(text, "style", refs);
            i = close == std::string::npos ? n : close;
        }
    }
    return refs;
}
