// A scripted game played twice from the same start, once drawing every tick and once drawing only what
// changed: at every tick the frame on screen must be the same in both. The two plays run in two
// processes forked from one, so that they start from exactly the same world.

#include "panels/GlobalGadgets.hpp"
#include "panels/MenuBrowser.hpp"
#include "panels/Prompt.hpp"
#include "platform/FrameRecord.hpp"
#include "platform/ImageData.hpp"
#include "platform/headless/Headless.hpp"
#include "rules/Goal.hpp"
#include "rules/Station.hpp"
#include "scene/Hotspot.hpp"
#include "scene/Radial.hpp"
#include "scene/RadialItem.hpp"
#include "shell/Level.hpp"
#include "shell/Main.hpp"
#include "shell/WorldTick.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr int Ticks = 460;

void Mix(size_t& hash, size_t value) {
    hash ^= value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
}

// What a drawn picture looks like, worked out once for each version of its pixels.
size_t Look(const TImage& image) {
    static std::map<const TImageData*, std::pair<uint64_t, size_t>> known;
    if (image == nullptr) return 0;
    auto found = known.find(image.get());
    if (found != known.end() && found->second.first == image->version) return found->second.second;
    size_t hash = std::hash<int>()(image->width * 7919 + image->height);
    for (const std::vector<uint8_t>& frame : image->pixels)
        Mix(hash, std::hash<std::string_view>()(
                      std::string_view(reinterpret_cast<const char*>(frame.data()), frame.size())));
    known[image.get()] = {image->version, hash};
    return hash;
}

size_t Look(const TDrawCall& call) {
    size_t hash = static_cast<size_t>(call.kind);
    for (float value : {call.x, call.y, call.w, call.h, call.state.scaleX, call.state.scaleY})
        Mix(hash, std::hash<float>()(value));
    for (int value : {call.frame, call.state.r, call.state.g, call.state.b, call.state.blend})
        Mix(hash, std::hash<int>()(value));
    Mix(hash, std::hash<const void*>()(call.state.font.get()));
    Mix(hash, std::hash<std::string>()(call.text));
    Mix(hash, Look(call.image));
    return hash;
}

void Pointer(int id, float x, float y, int button = 0) {
    TEvent event;
    event.id = id;
    event.source = GameCanvas;
    event.x = static_cast<int>(x);
    event.y = static_cast<int>(y);
    event.data = button;
    HeadlessEmit(event);
}

THotspotRef FreeToken() {
    for (const TGoalRef& goal : GoalList) {
        if (goal->hotspot->GrabState == GrabFree) return goal->hotspot;
    }
    return nullptr;
}

// The script, tick by tick: a station's radial opened and closed, the pointer over a button, a token
// picked up, carried and put down at another week, a week spent on an action, tokens thrown off their
// places flying back, a prompt over the world, and a long press on a station.
void Act(int tick) {
    static THotspotRef token;
    static float x = 0, y = 0;
    if (tick == 10 || tick == 120) {
        for (const auto& station : StationList) {
            if (!station->AvailableActions().empty()) {
                HandleClick("CLICK1", station->tag);
                break;
            }
        }
    }
    if (tick == 130 && OpenRadial != nullptr) { // a week spent: the time bar, meter and texts move on
        for (const TRadialItemRef& item : OpenRadial->Items) {
            if (item != nullptr && item->Hotspot->Tag.starts_with("RADACTION")) {
                HandleClick("CLICK1", item->Hotspot->Tag);
                break;
            }
        }
    }
    if (tick == 40 && OpenRadial != nullptr) OpenRadial->Close(1);
    if (tick == 50) Pointer(MouseMove, 25, 25);
    if (tick == 60) {
        token = FreeToken();
        ASSERT_NE(token, nullptr);
        x = token->X + static_cast<float>(token->Width) / 2;
        y = token->Y + static_cast<float>(token->Height) / 2;
        Pointer(MouseMove, x, y);
    }
    if (tick == 61) Pointer(MouseDown, x, y, 1);
    if (tick == 62) Pointer(MouseUp, x, y);
    const float step = x > 400 ? -4.0f : 4.0f;
    if (tick > 62 && tick <= 102) Pointer(MouseMove, x + step * static_cast<float>(tick - 62), y);
    if (tick == 103) Pointer(MouseDown, x + step * 40, y, 1);
    if (tick == 104) Pointer(MouseUp, x + step * 40, y);
    if (tick == 105) Pointer(MouseMove, 790, 590);
    if (tick == 150) {
        if (const THotspotRef other = FreeToken()) other->Move(other->X > 400 ? -300.0f : 300.0f, 0.0f);
    }
    if (tick == 300) {
        if (const THotspotRef other = FreeToken()) other->Move(0.0f, 60.0f);
    }
    if (tick == 200) TPrompt::Open("CUSTOM", "Title", "First line", "Second line", 1, 0, "Okay", "");
    if (tick == 230) TPrompt::Close();
    if (tick == 240) {
        const THotspotRef station = StationList.empty() ? nullptr : THotspot::FindByTag(StationList[0]->tag);
        if (station != nullptr) {
            x = station->X + static_cast<float>(station->Width) / 2;
            y = station->Y + static_cast<float>(station->Height) / 2;
            Pointer(MouseMove, x, y);
            Pointer(MouseDown, x, y, 1);
        }
    }
    if (tick == 450) Pointer(MouseUp, x, y);
}

struct TPlay {
    std::vector<size_t> screens; // what the screen shows after each tick
    int presented = 0;
};

TPlay Play() {
    TPlay play;
    size_t frame = 0, screen = 0;
    HeadlessClearDrawCalls(); // start-up's own frames, drawn before the two plays part
    for (int tick = 0; tick < Ticks; ++tick) {
        Act(tick);
        HeadlessAdvanceClock(16);
        while (const TEvent* event = NextEvent())
            HandleLoopEvent(*event);
        for (const TDrawCall& call : HeadlessDrawCalls()) {
            if (call.target != GameCanvas) continue;
            if (call.kind == TDrawKind::Present) {
                screen = frame;
                frame = 0;
                ++play.presented;
            } else {
                Mix(frame, Look(call));
            }
        }
        HeadlessClearDrawCalls();
        play.screens.push_back(screen);
    }
    return play;
}

TEST(FrameIdentityTest, DrawingOnlyChangesShowsTheFramesDrawingEveryTickShows) {
    HeadlessReset();
    StartUp();
    ASSERT_FALSE(LevelRegistry.empty());
    LevelRegistry.front()->Start();
    TMenuBrowser::Close();
    TPrompt::Close();
    for (const auto& station : StationList)
        TStation::Activate(station.get());
    for (int i = 0; i < 4 && TGoal::CreateSkillGoal(i, 3) != nullptr; ++i)
        GoalList.back()->SetDeadline(2 + i, 1);

    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SetSkipUnchangedFrames(false);
        const TPlay every = Play();
        const ssize_t size = static_cast<ssize_t>(every.screens.size() * sizeof(size_t));
        _exit(write(ends[1], every.screens.data(), static_cast<size_t>(size)) == size ? 0 : 1);
    }
    close(ends[1]);
    SetSkipUnchangedFrames(true);
    const TPlay changed = Play();
    std::vector<size_t> every(Ticks);
    size_t got = 0;
    const size_t want = every.size() * sizeof(size_t);
    for (ssize_t n = 1; got < want && n > 0; got += static_cast<size_t>(n))
        n = read(ends[0], reinterpret_cast<char*>(every.data()) + got, want - got);
    close(ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(got, want);

    int changes = 0;
    for (int tick = 0; tick < Ticks; ++tick) {
        EXPECT_EQ(changed.screens[tick], every[tick]) << "tick " << tick;
        changes += tick > 0 && every[tick] != every[tick - 1];
    }
    // The script must show plenty of change, and drawing on change must have skipped the still ticks.
    EXPECT_GT(changes, 60);
    EXPECT_LT(changed.presented, Ticks / 2);
}

} // namespace
