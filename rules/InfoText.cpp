#include "rules/InfoText.hpp"

std::function<void(const TInfoText& page)> InfoPageShower;

void ReplaceLineBreaks(std::string& text) {
    std::string converted;
    converted.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '~' && i + 1 < text.size() && text[i + 1] == 'n') {
            converted.push_back('\n');
            ++i;
        } else {
            converted.push_back(text[i]);
        }
    }
    text = std::move(converted);
}

TInfoText TInfoText::Create() {
    return TInfoText{};
}

void TInfoText::Show() {
    ReplaceLineBreaks(Title);
    ReplaceLineBreaks(Info);
    ReplaceLineBreaks(Data);
    if (InfoPageShower) InfoPageShower(*this);
}
