#include "platform/ClickGuard.hpp"

#include <gtest/gtest.h>

namespace {

const int menu = 0, button = 0;
const void* const View = &menu;
const void* const Button = &button;

TEST(ClickGuard, ADoubleClickStaysOnTheControlAndPageItBeganOn) {
    TClickGuard guard(400, 5);
    // On one page of one view both clicks act, with the toolkit's double-press report.
    EXPECT_TRUE(guard.Press(1000, 1, 300, 200, View, "menu.html"));
    EXPECT_TRUE(guard.Release(1));
    EXPECT_TRUE(guard.Press(1200, 1, 302, 201, View, "menu.html"));
    EXPECT_TRUE(guard.Repeat(1));
    EXPECT_TRUE(guard.Release(1));

    // The first click led to another page of the view: the second, its report and release go nowhere.
    EXPECT_TRUE(guard.Press(3000, 1, 300, 200, View, "menu.html"));
    EXPECT_TRUE(guard.Release(1));
    EXPECT_FALSE(guard.Press(3250, 1, 300, 200, View, "menu.html#levels"));
    EXPECT_FALSE(guard.Repeat(1));
    EXPECT_FALSE(guard.Release(1));
    // A third quick click there is dropped too; a later one acts.
    EXPECT_FALSE(guard.Press(3500, 1, 300, 200, View, "menu.html#levels"));
    EXPECT_FALSE(guard.Release(1));
    EXPECT_TRUE(guard.Press(4500, 1, 300, 200, View, "menu.html#levels"));
    EXPECT_TRUE(guard.Release(1));

    // A button that opened a page under the pointer: the second click does not reach that page.
    EXPECT_TRUE(guard.Press(6000, 1, 300, 200, Button, ""));
    EXPECT_TRUE(guard.Release(1));
    EXPECT_FALSE(guard.Press(6300, 1, 300, 200, View, "menu.html#levels"));
    EXPECT_FALSE(guard.Release(1));
}

TEST(ClickGuard, PressesFarApartInTimePlaceOrButtonAreNoPair) {
    TClickGuard guard(400, 5);
    EXPECT_TRUE(guard.Press(1000, 1, 300, 200, Button, ""));
    EXPECT_TRUE(guard.Release(1));
    EXPECT_TRUE(guard.Press(1401, 1, 300, 200, View, "a")); // too late
    EXPECT_TRUE(guard.Release(1));
    EXPECT_TRUE(guard.Press(1500, 1, 306, 200, Button, "")); // too far
    EXPECT_TRUE(guard.Release(1));
    EXPECT_TRUE(guard.Press(1600, 3, 306, 200, View, "a")); // another button
    EXPECT_TRUE(guard.Release(3));
}

} // namespace
