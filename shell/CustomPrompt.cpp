#include "shell/CustomPrompt.hpp"

#include "panels/Prompt.hpp"
#include "rules/InfoText.hpp"

bool TCustomPrompt::Show() {
    ReplaceLineBreaks(Title);
    ReplaceLineBreaks(Note);
    ReplaceLineBreaks(Text);
    return TPrompt::Open("CUSTOM", Title, Text, Note, ShowHelp, ShowClose, PrimaryLabel, SecondaryLabel,
                         TPromptLayer::UnderLock, Picture);
}
