#include "tests/soak/Monkey.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/InfoPanel.hpp"
#include "panels/MenuBrowser.hpp"
#include "panels/Prompt.hpp"
#include "panels/TutorialWindow.hpp"
#include "panels/Widget.hpp"
#include "platform/EventChain.hpp"
#include "platform/headless/Headless.hpp"
#include "scene/FrameRate.hpp"
#include "scene/Hotspot.hpp"
#include "scene/Radial.hpp"
#include "scene/TimeBar.hpp"
#include "shell/Level.hpp"
#include "shell/Main.hpp"
#include "tests/soak/Invariants.hpp"

#include <fstream>
#include <iterator>

namespace {

constexpr int TickMs = 1000 / FrameRate;

// The level links of the main menu page, as the page writes them.
std::vector<std::string> ReadLevelLinks() {
    std::ifstream page("content/html/MainMenu.html");
    const std::string text{std::istreambuf_iterator<char>(page), std::istreambuf_iterator<char>()};
    std::vector<std::string> links;
    const std::string mark = "href=\"redirects\\";
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1)) {
        const size_t start = at + 6;
        const size_t end = text.find('"', start);
        if (end != std::string::npos) links.push_back(text.substr(start, end - start));
    }
    return links;
}

} // namespace

TMonkey::TMonkey(uint64_t seed) : random(seed), levelLinks(ReadLevelLinks()) {}

void TMonkey::StartGame() {
    HeadlessReset();
    Main();
}

int TMonkey::Below(int n) {
    return n <= 1 ? 0 : static_cast<int>(random() % static_cast<uint64_t>(n));
}

bool TMonkey::Chance(double p) {
    return std::uniform_real_distribution<double>(0.0, 1.0)(random) < p;
}

void TMonkey::Note(const std::string& input) {
    recent.push_back(std::to_string(tick) + ": " + input);
    if (recent.size() > 40) recent.pop_front();
}

std::string TMonkey::RecentInputs() const {
    std::string lines;
    for (const std::string& line : recent)
        lines += line + "\n";
    return lines;
}

void TMonkey::Tick() {
    ++tick;
    if (WorldHidden) plan.clear(); // the hidden canvas gets no pointer input
    if (plan.empty()) Choose();
    if (!plan.empty()) {
        for (const TInput& input : plan.front()) {
            HeadlessEmit(TEvent{
                .id = input.id, .source = GameCanvas, .data = input.button, .x = input.x, .y = input.y});
            Note(input.id == MouseMove
                     ? "move to " + std::to_string(input.x) + ", " + std::to_string(input.y)
                     : (input.id == MouseDown ? "press " : "release ") + std::to_string(input.button));
        }
        plan.pop_front();
    }
    HeadlessAdvanceClock(TickMs);
    RunMainLoop();
    // Nobody looks at the frames; kept, a long run would hold every draw call it ever made.
    HeadlessClearDrawCalls();
    Count();
}

void TMonkey::Choose() {
    if (!MenuClosed) {
        OnMenuPage();
        return;
    }
    if (!Chance(0.3)) return; // a pause between gestures
    if (TutorialWindow != nullptr && InSight(TutorialWindow) && Chance(0.02)) {
        HeadlessCloseWindow(TutorialWindow);
        Note("close the tutorial window");
        return;
    }
    if (Chance(0.4) && PressPanelButton()) return;
    PlanGesture();
}

void TMonkey::OnMenuPage() {
    if (MenuView == nullptr || levelLinks.empty() || !Chance(0.05)) return;
    const std::string base = CurrentDirectory() + "/content/html";
    if (Chance(0.1)) {
        HeadlessFollowLink(MenuView, base + "/MainMenu.html#levels");
        Note("follow #levels");
        return;
    }
    // Dealt like cards, so that every level comes up within as many starts as there are levels.
    if (linkDeck.empty()) linkDeck = levelLinks;
    const auto pick = linkDeck.begin() + Below(int(linkDeck.size()));
    const std::string link = *pick;
    linkDeck.erase(pick);
    HeadlessFollowLink(MenuView, base + "\\" + link);
    Note("follow " + link);
}

bool TMonkey::PressPanelButton() {
    std::vector<TGadget> buttons;
    for (const TWidget* widget : WidgetRegistry) {
        if (widget->Gadget != nullptr && widget->Gadget->kind == TGadgetKind::Button &&
            InSight(widget->Gadget))
            buttons.push_back(widget->Gadget);
    }
    if (buttons.empty()) return false;
    if (InSight(InfoInventory) && !InfoInventory->items.empty() && Chance(0.5)) {
        const int index = Below(int(InfoInventory->items.size()) + 1) - 1;
        HeadlessSelectItem(InfoInventory, index);
        Note("select " + std::to_string(index));
    }
    const TGadget button = buttons[static_cast<size_t>(Below(int(buttons.size())))];
    HeadlessPressButton(button);
    Note("press " + TWidget::FindWidgetByGadget(button)->Tag);
    ++counts.panelPresses;
    return true;
}

// Mostly onto something that takes gestures, sometimes anywhere on the canvas; with a menu open, mostly
// onto the menu, as a player picks from the ring he just opened.
void TMonkey::PointSomewhere(int& x, int& y) {
    std::vector<THotspot*> live;
    if (Chance(0.8)) {
        const bool menuOnly = OpenRadial != nullptr && Chance(0.85);
        // The game menu's Quit ends a level in a few weeks; rarer, levels also get played to their end.
        const bool gameMenuToo = Chance(0.05);
        for (const THotspotRef& hotspot : HotspotList) {
            const bool shows = hotspot->Sprite == nullptr || hotspot->Sprite->Hidden == 0;
            const bool wanted =
                (!menuOnly || hotspot->IsRadial()) && (gameMenuToo || hotspot->Tag != "GAMEMENU");
            if (hotspot->Inactive == 0 && shows && wanted) live.push_back(hotspot.get());
        }
    }
    if (live.empty()) {
        x = Below(GameCanvas->w);
        y = Below(GameCanvas->h);
        return;
    }
    const THotspot* target = live[static_cast<size_t>(Below(int(live.size())))];
    x = static_cast<int>(target->X) + Below(target->Width);
    y = static_cast<int>(target->Y) + Below(target->Height);
}

void TMonkey::PlanGesture() {
    int x = 0;
    int y = 0;
    PointSomewhere(x, y);
    const int roll = Below(100);
    const int button = roll % 20 == 0 ? 3 : roll % 4 == 0 ? 2 : 1;
    plan.push_back({{MouseMove, x, y, 0}});
    if (roll < 10) return; // a move alone: hover
    if (roll < 14) {       // a press or a release that has no partner
        plan.push_back({{Chance(0.5) ? MouseDown : MouseUp, 0, 0, button}});
        return;
    }
    plan.push_back({{MouseDown, 0, 0, button}});
    if (roll < 17) { // held past the squeeze time, or just short of it
        ++counts.holds;
        const int ticks = static_cast<int>(SqueezeMs) / TickMs + Below(16) - 4;
        for (int i = 0; i < ticks; ++i)
            plan.emplace_back();
    } else if (roll < 30) { // a drag to somewhere else
        ++counts.drags;
        int toX = 0;
        int toY = 0;
        PointSomewhere(toX, toY);
        const int steps = 2 + Below(40);
        for (int i = 1; i <= steps; ++i)
            plan.push_back({{MouseMove, x + (toX - x) * i / steps, y + (toY - y) * i / steps, 0}});
    } else { // a click; a tap within one frame included
        const int ticks = Below(8);
        for (int i = 0; i < ticks; ++i)
            plan.emplace_back();
        if (ticks == 0) {
            plan.back().push_back({MouseUp, 0, 0, button});
            return;
        }
    }
    plan.push_back({{MouseUp, 0, 0, button}});
}

void TMonkey::Count() {
    if (worldWasHidden && !WorldHidden && CurrentLevel != nullptr) ++counts.levelStarts[CurrentLevel->Name];
    worldWasHidden = WorldHidden;
    if (CurrentWeek > lastWeek) counts.weeks += CurrentWeek - lastWeek;
    lastWeek = CurrentWeek;
    const bool final = Prompt.Kind == "FINALPASS" || Prompt.Kind == "FINALFAIL";
    if (final && Prompt.Kind != lastPromptKind) ++counts.finals;
    lastPromptKind = Prompt.Kind;
}
