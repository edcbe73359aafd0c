// Start-up and the main loop on the headless backend: what the hooks take, what the loop sees.

#include "panels/GlobalGadgets.hpp"
#include "panels/MenuBrowser.hpp"
#include "panels/Widget.hpp"
#include "platform/EventChain.hpp"
#include "platform/headless/Headless.hpp"
#include "rules/Player.hpp"
#include "scene/Pointer.hpp"
#include "shell/Main.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

class MainLoopTest : public ::testing::Test {
  protected:
    std::vector<int> seen; // ids of the events the loop was handed

    void SetUp() override {
        while (!WidgetRegistry.empty())
            WidgetRegistry.front()->Destroy();
        HeadlessReset();
        QuitRequested = false;
        WorldHidden = false;
        PointerX = PointerY = PointerButton = 0;
        // The headless machine has nothing to wait for, so Main returns once start-up is done.
        ASSERT_EQ(Main(), 0);
        ASSERT_NE(GameCanvas, nullptr);
        ASSERT_NE(FrameTimer, nullptr);
        AddEventHook(
            [this](TEvent* e) {
                seen.push_back(e->id);
                return e;
            },
            QueuePriority + 1);
    }

    static void Emit(int id, const void* source, int data = 0, int x = 0, int y = 0) {
        TEvent event;
        event.id = id;
        event.source = source;
        event.data = data;
        event.x = x;
        event.y = y;
        HeadlessEmit(event);
    }

    int Handled(int id) {
        int count = 0;
        while (const TEvent* event = NextEvent()) {
            count += event->id == id;
            if (!HandleLoopEvent(*event)) break;
        }
        return count;
    }
};

TEST_F(MainLoopTest, MouseEventsOnTheCanvasOnlyMoveThePointerState) {
    Emit(MouseDown, GameCanvas, 2);
    EXPECT_EQ(PointerButton, 2);
    EXPECT_EQ(PointerX, 0) << "a press without a move leaves the position";
    EXPECT_EQ(PointerY, 0);
    PointerPolled(); // a frame's gesture poll has seen the press
    Emit(MouseMove, GameCanvas, 0, 120, 340);
    EXPECT_EQ(PointerX, 120);
    EXPECT_EQ(PointerY, 340);
    Emit(MouseUp, GameCanvas);
    EXPECT_EQ(PointerButton, 0);
    EXPECT_EQ(PointerX, 120);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(QueuedEventCount(), 0u);
}

TEST_F(MainLoopTest, MouseEventsElsewhereGoOnToTheQueue) {
    Emit(MouseMove, MainWindow, 0, 5, 6);
    EXPECT_EQ(PointerX, 0);
    EXPECT_EQ(QueuedEventCount(), 1u);
}

TEST_F(MainLoopTest, AStalledLoopHandlesExactlyOneTickWhenItResumes) {
    HeadlessAdvanceClock(16 * 10);
    EXPECT_EQ(Handled(TimerTick), 1);
}

TEST_F(MainLoopTest, StartUpEndsOnTheMenuPageWithTheWorldHidden) {
    EXPECT_TRUE(WorldHidden);
    ASSERT_NE(MenuView, nullptr);
    EXPECT_EQ(CurrentUrl(MenuView), CurrentDirectory() + "/content/html/MainMenu.html");
    EXPECT_FALSE(GameCanvas->visible);
}

TEST_F(MainLoopTest, EachTickOfTheShownWorldPaintsTheCanvasInTheNextWait) {
    TGlobalGadgets::ShowWorld();
    HeadlessClearDrawCalls();
    HeadlessAdvanceClock(16);
    EXPECT_EQ(Handled(TimerTick), 1);
    // The paint was consumed by the paint hook and never reached the queue.
    EXPECT_EQ(std::count(seen.begin(), seen.end(), int(GadgetPaint)), 0);
    const auto& calls = HeadlessDrawCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().kind, TDrawKind::Present);
    EXPECT_EQ(calls.back().target, GameCanvas);
}

TEST_F(MainLoopTest, WhileTheWorldIsHiddenTicksArriveButNothingIsPainted) {
    WorldHidden = true;
    HeadlessClearDrawCalls();
    HeadlessAdvanceClock(16);
    EXPECT_EQ(Handled(TimerTick), 1);
    EXPECT_TRUE(HeadlessDrawCalls().empty());
}

TEST_F(MainLoopTest, EscapeFromAnySourceEndsTheLoopAfterThatEvent) {
    Emit(KeyDown, nullptr, 65);
    Emit(KeyDown, MainWindow, KeyEscape);
    Emit(KeyDown, nullptr, 66);
    RunMainLoop();
    EXPECT_TRUE(QuitRequested);
    EXPECT_EQ(QueuedEventCount(), 1u) << "the key after Escape is left unread";
}

TEST_F(MainLoopTest, OtherKeysDoNotQuit) {
    Emit(KeyDown, MainWindow, 13);
    Emit(KeyUp, MainWindow, KeyEscape);
    RunMainLoop();
    EXPECT_FALSE(QuitRequested);
}

TEST_F(MainLoopTest, ABurstOfTenThousandEventsKeepsTheQueueCappedAndTheGameAnswering) {
    HeadlessFollowLink(MenuView, CurrentDirectory() + "/content/html\\redirects\\levelnum01.html");
    HeadlessAdvanceClock(16);
    RunMainLoop();
    ASSERT_FALSE(WorldHidden) << "level 01 did not start";
    size_t most = 0;
    for (int i = 0; i < 10000; ++i) {
        switch (i % 5) {
        case 0:
            Emit(MouseMove, GameCanvas, 0, i * 7 % 800, i * 13 % 600);
            break;
        case 1:
            Emit(MouseDown, GameCanvas, 1 + i % 2);
            break;
        case 2:
            Emit(MouseUp, GameCanvas);
            break;
        case 3:
            Emit(KeyDown, MainWindow, 'A' + i % 26);
            break;
        default:
            Emit(WindowMove, MainWindow, 0, i % 50, i % 40);
            break;
        }
        if (i % 50 == 0) HeadlessAdvanceClock(16);
        most = std::max(most, QueuedEventCount());
    }
    EXPECT_EQ(most, QueueCapacity);
    RunMainLoop();
    EXPECT_FALSE(QuitRequested);
    EXPECT_EQ(QueuedEventCount(), 0u);
    // Answering: the next tick paints what changed in the world, and Escape still ends the game.
    HeadlessClearDrawCalls();
    Player.motivation = 10.0f;
    HeadlessAdvanceClock(16);
    RunMainLoop();
    ASSERT_FALSE(HeadlessDrawCalls().empty());
    EXPECT_EQ(HeadlessDrawCalls().back().target, GameCanvas);
    Emit(KeyDown, MainWindow, KeyEscape);
    RunMainLoop();
    EXPECT_TRUE(QuitRequested);
}

TEST_F(MainLoopTest, ClosingTheMainWindowEndsTheProgramWithExitCodeZero) {
    EXPECT_EXIT(
        {
            HeadlessCloseWindow(MainWindow);
            RunMainLoop();
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(MainLoopTest, ClosingAnotherWindowDoesNotEndTheProgram) {
    TGadget other = OpenWindow("other", 0, 0, 10, 10, nullptr, 33);
    TWidget::Create("WINOTHER")->Gadget = other;
    HeadlessCloseWindow(other);
    RunMainLoop();
    SUCCEED();
}

} // namespace
