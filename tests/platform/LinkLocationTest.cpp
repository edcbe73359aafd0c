#include "platform/LinkLocation.hpp"
#include "platform/gtk/GtkKeys.hpp"

#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

namespace {

TEST(LinkLocation, BackslashLinkKeepsItsSpellingJoinedToThePageFolder) {
    EXPECT_EQ(FollowedLink("/game/content/html/MainMenu.html", "redirects\\gotoLvl01.html"),
              "/game/content/html\\redirects\\gotoLvl01.html");
    EXPECT_EQ(FollowedLink("file:///game/content/html/MainMenu.html#levels", "redirects\\a.html"),
              "file:///game/content/html\\redirects\\a.html");
    // A page reached by such a link is itself a base for the next one.
    EXPECT_EQ(FollowedLink("/game/html\\redirects\\a.html", "b.html"), "/game/html\\redirects/b.html");
    EXPECT_EQ(FollowedLink("/game/html/x.html?q=a/b", "c.html"), "/game/html/c.html");
}

TEST(LinkLocation, AnchorsSchemesAndRootedLinks) {
    EXPECT_EQ(FollowedLink("/game/html/MainMenu.html#intro", "#levels"), "/game/html/MainMenu.html#levels");
    EXPECT_EQ(FollowedLink("/game/html/MainMenu.html", "http://example.org/x"), "http://example.org/x");
    EXPECT_EQ(FollowedLink("file:///game/html/a.html", "/other/b.html"), "file:///other/b.html");
    EXPECT_EQ(FollowedLink("/game/html/a.html", "/other/b.html"), "/other/b.html");
    EXPECT_EQ(FollowedLink("", "b.html"), "/b.html");
}

TEST(LinkLocation, LoadableUriTurnsPathsAndBackslashesIntoWhatTheEngineLoads) {
    EXPECT_EQ(LoadableUri("/game/content/html/MainMenu.html"), "file:///game/content/html/MainMenu.html");
    EXPECT_EQ(LoadableUri("/game/html\\redirects\\a.html#top"), "file:///game/html/redirects/a.html#top");
    EXPECT_EQ(LoadableUri("file:///x/y.html"), "file:///x/y.html");
    EXPECT_EQ(LoadableUri("about:blank"), "about:blank");
}

TEST(LinkLocation, SameLocationIgnoresSpellingButNotPlace) {
    EXPECT_TRUE(SameLocation("/game/html\\redirects\\a.html", "file:///game/html/redirects/a.html"));
    EXPECT_TRUE(SameLocation("/game/my html/a.html", "file:///game/my%20html/a.html"));
    EXPECT_TRUE(SameLocation("/game/html/..\\html\\a.html", "file:///game/html/a.html"));
    EXPECT_TRUE(SameLocation("/game/./html/a.html", "file://localhost/game/html/a.html"));
    EXPECT_FALSE(SameLocation("/game/html/a.html", "file:///game/html/b.html"));
    EXPECT_FALSE(SameLocation("/game/html/a.html#one", "file:///game/html/a.html#two"));
    EXPECT_FALSE(SameLocation("/game/html/a.html", "file:///game/html/a.html#two"));
    // A broken escape is compared as written rather than misread.
    EXPECT_FALSE(SameLocation("/game/a%2.html", "/game/a%20.html"));
}

TEST(PageAddress, OnlyLocationsInsideTheGameFolderGetAnAddress) {
    EXPECT_EQ(PageUri("/game/content/html/MainMenu.html#levels", "/game"),
              "gorum://game/content/html/MainMenu.html#levels");
    EXPECT_EQ(PageUri("/game/content/html\\redirects\\levelnum02.html", "/game"),
              "gorum://game/content/html/redirects/levelnum02.html");
    EXPECT_EQ(PageUri("file:///my%20game/content/a%23b.html?q", "/my game/"),
              "gorum://game/content/a%23b.html?q");
    EXPECT_EQ(PageUri("file://localhost/game/./content/x/../a.html", "/game"), "gorum://game/content/a.html");
    for (const char* outside : {"/etc/passwd", "/game/content/tut/../../../etc/passwd",
                                "/game%2F../etc/passwd", "/gameplay/content/a.html", "/game", "/game/",
                                "file:///etc/", "http://game/a.html", "about:blank", "content/html/a.html"})
        EXPECT_EQ(PageUri(outside, "/game"), "") << outside;
}

TEST(PageAddress, AnAddressReadsBackAsTheFileLocationItCameFrom) {
    EXPECT_EQ(PageLocation("gorum://game/content/html/a%20b.html#x", "/my game"),
              "file:///my%20game/content/html/a%20b.html#x");
    EXPECT_EQ(PageLocation("about:blank", "/game"), "about:blank");
    const std::string uri = "gorum://game/content/html/redirects/levelnum02.html#top";
    EXPECT_EQ(PageUri(PageLocation(uri, "/my game"), "/my game"), uri);
}

TEST(PageAddress, APathReadsAsALocalPathThatCannotClimbOutOfTheFolder) {
    EXPECT_EQ(PagePath("/content/html/redirects\\level%20two.html"), "content/html/redirects/level two.html");
    EXPECT_EQ(PagePath("/content/html/..%5C..%5Cmedia%5Cx.png"), "media/x.png");
    EXPECT_EQ(PagePath("/../../etc/passwd"), "etc/passwd");
    EXPECT_EQ(PagePath("/content/%2e%2e/%2E%2E/etc/passwd"), "etc/passwd");
    EXPECT_EQ(PagePath("/content/a%00.html"), "");
    EXPECT_EQ(PagePath("/"), "");
}

TEST(WindowsKeyCode, KeysTheGameNamesGetTheirNumbers) {
    EXPECT_EQ(WindowsKeyCode(GDK_KEY_Escape), 27);
    EXPECT_EQ(WindowsKeyCode(GDK_KEY_Return), 13);
    EXPECT_EQ(WindowsKeyCode(GDK_KEY_KP_Enter), 13);
    EXPECT_EQ(WindowsKeyCode(GDK_KEY_a), 'A');
    EXPECT_EQ(WindowsKeyCode(GDK_KEY_Z), 'Z');
    EXPECT_EQ(WindowsKeyCode(GDK_KEY_0), '0');
    EXPECT_EQ(WindowsKeyCode(GDK_KEY_9), '9');
    EXPECT_EQ(WindowsKeyCode(GDK_KEY_KP_3), 99);
    EXPECT_EQ(WindowsKeyCode(GDK_KEY_F1), 112);
    EXPECT_EQ(WindowsKeyCode(GDK_KEY_F12), 123);
    EXPECT_EQ(WindowsKeyCode(GDK_KEY_Left), 37);
    EXPECT_EQ(WindowsKeyCode(GDK_KEY_Down), 40);
    EXPECT_EQ(WindowsKeyCode(GDK_KEY_dead_acute), 0);
    EXPECT_EQ(WindowsKeyMods(GDK_SHIFT_MASK | GDK_MOD1_MASK), 5);
    EXPECT_EQ(WindowsKeyMods(GDK_CONTROL_MASK), 2);
}

} // namespace
