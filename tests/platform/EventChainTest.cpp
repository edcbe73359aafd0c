// The hook chain and the event queue at its end, driven through the headless backend.

#include "platform/EventChain.hpp"
#include "platform/headless/Headless.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class EventChainTest : public ::testing::Test {
  protected:
    void SetUp() override { HeadlessReset(); }
    void TearDown() override { HeadlessReset(); }

    static TEvent Make(int id, const void* source, int data = 0) {
        TEvent event;
        event.id = id;
        event.source = source;
        event.data = data;
        return event;
    }

    int a = 0;
    int b = 0;
};

TEST_F(EventChainTest, HooksRunByPriorityThenInTheOrderTheyWereAdded) {
    std::string order;
    AddEventHook(
        [&](TEvent* e) {
            order += "low1 ";
            return e;
        },
        -5);
    AddEventHook(
        [&](TEvent* e) {
            order += "zero1 ";
            return e;
        },
        0);
    AddEventHook(
        [&](TEvent* e) {
            order += "high ";
            return e;
        },
        10);
    AddEventHook(
        [&](TEvent* e) {
            order += "zero2 ";
            return e;
        },
        0);
    AddEventHook(
        [&](TEvent* e) {
            order += "low2 ";
            return e;
        },
        -5);
    HeadlessEmit(Make(KeyDown, nullptr, 27));
    EXPECT_EQ(order, "high zero1 zero2 low1 low2 ");
    EXPECT_EQ(QueuedEventCount(), 1u);
}

TEST_F(EventChainTest, AConsumedEventReachesNoLaterHookAndIsNeverReturned) {
    int later = 0;
    AddEventHook([](TEvent* e) { return e->id == MouseMove ? nullptr : e; }, 0);
    AddEventHook(
        [&](TEvent* e) {
            if (e == nullptr) ADD_FAILURE() << "a hook received none";
            ++later;
            return e;
        },
        -1);
    HeadlessEmit(Make(MouseMove, &a));
    HeadlessEmit(Make(KeyDown, &a, 65));
    EXPECT_EQ(later, 1);
    TEvent* next = NextEvent();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->id, KeyDown);
    EXPECT_EQ(NextEvent(), nullptr);
}

TEST_F(EventChainTest, AHookMayChangeWhatTheQueueReceives) {
    AddEventHook(
        [](TEvent* e) {
            e->data = 99;
            return e;
        },
        0);
    HeadlessEmit(Make(KeyDown, &a, 1));
    EXPECT_EQ(NextEvent()->data, 99);
    EXPECT_EQ(CurrentEvent().data, 99);
}

TEST_F(EventChainTest, TicksActionsMovesAndSizesOfOneSourceCoalesce) {
    for (int id : {int(TimerTick), int(GadgetAction), int(WindowMove), int(WindowSize)}) {
        HeadlessEmit(Make(id, &a, 1));
        HeadlessEmit(Make(id, &b, 2));
        HeadlessEmit(Make(id, &a, 3));
    }
    ASSERT_EQ(QueuedEventCount(), 8u);
    for (int id : {int(TimerTick), int(GadgetAction), int(WindowMove), int(WindowSize)}) {
        TEvent* first = NextEvent();
        EXPECT_EQ(first->id, id);
        EXPECT_EQ(first->source, &a);
        EXPECT_EQ(first->data, 3) << "the waiting event takes the newer data";
        TEvent* second = NextEvent();
        EXPECT_EQ(second->source, &b);
        EXPECT_EQ(second->data, 2);
    }
}

TEST_F(EventChainTest, OtherEventsQueueEveryTimeInArrivalOrder) {
    for (int i = 0; i < 3; ++i)
        HeadlessEmit(Make(KeyDown, &a, i));
    HeadlessEmit(Make(WindowClose, &a));
    HeadlessEmit(Make(WindowClose, &a));
    ASSERT_EQ(QueuedEventCount(), 5u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(NextEvent()->data, i);
    EXPECT_EQ(NextEvent()->id, WindowClose);
    EXPECT_EQ(NextEvent()->id, WindowClose);
}

TEST_F(EventChainTest, TheQueueDropsWhatArrivesWhenFull) {
    for (int i = 0; i < 300; ++i)
        HeadlessEmit(Make(KeyDown, &a, i));
    EXPECT_EQ(QueuedEventCount(), QueueCapacity);
    // Even a tick with nothing to merge into is dropped.
    HeadlessEmit(Make(TimerTick, &b));
    EXPECT_EQ(QueuedEventCount(), QueueCapacity);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(NextEvent()->data, i);
    EXPECT_EQ(NextEvent(), nullptr);
}

TEST_F(EventChainTest, ATimerTicksEverySixteenMillisecondsAndStalledTicksMerge) {
    TTimer timer = CreateTimer(60);
    ASSERT_NE(timer, nullptr);
    HeadlessAdvanceClock(15);
    EXPECT_EQ(QueuedEventCount(), 0u);
    HeadlessAdvanceClock(1);
    ASSERT_EQ(QueuedEventCount(), 1u);
    // Ten periods pass while nobody reads the queue: one tick waits.
    HeadlessAdvanceClock(160);
    EXPECT_EQ(QueuedEventCount(), 1u);
    EXPECT_EQ(NextEvent()->source, timer);
    EXPECT_EQ(NextEvent(), nullptr);
    // 1000 ms hold 62 whole periods of 16 ms.
    int ticks = 0;
    AddEventHook(
        [&](TEvent* e) {
            ticks += e->id == TimerTick;
            return e;
        },
        0);
    HeadlessAdvanceClock(1000);
    EXPECT_EQ(ticks, 62);
}

TEST_F(EventChainTest, TheClockWrapsAtThirtyTwoBits) {
    HeadlessSetClock((1ULL << 32) + 5);
    EXPECT_EQ(Milliseconds(), 5u);
    HeadlessSetClock((1ULL << 32) - 1);
    EXPECT_EQ(Milliseconds(), 0xFFFFFFFFu);
}

TEST_F(EventChainTest, ARepaintIsDeliveredOnceByTheNextWait) {
    TGadget window = OpenWindow("w", 0, 0, 100, 100, nullptr, 41);
    TGadget canvas = AddCanvas(0, 0, 100, 100, window);
    int paints = 0;
    AddEventHook(
        [&](TEvent* e) {
            if (e->id == GadgetPaint && e->source == canvas) ++paints;
            return e;
        },
        0);
    RequestRepaint(canvas);
    RequestRepaint(canvas);
    EXPECT_EQ(paints, 0) << "nothing is painted during the request";
    TEvent* paint = NextEvent();
    ASSERT_NE(paint, nullptr);
    EXPECT_EQ(paint->id, GadgetPaint);
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(NextEvent(), nullptr);
    EXPECT_EQ(paints, 1);
}

} // namespace
