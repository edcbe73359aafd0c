// The files the HTML views may load: regular files of content/ and media/ of the kinds a page uses, and
// nothing else of the game folder or beyond it, however the address is written.
#include "platform/PageFile.hpp"
#include "platform/Platform.hpp"
#include "tests/platform/FifoCall.hpp"
#include "tests/rules/TempContent.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class PageFileTest : public testing::Test {
  protected:
    TTempContent game;
    std::string bytes, type;
    bool Read(const std::string& uriPath) { return ReadPageFile(game.root.string(), uriPath, bytes, type); }
};

TEST_F(PageFileTest, PagesAndPicturesOfContentAndMediaAreReadWithTheirType) {
    game.Write("content/html/a.html", "<p>a</p>");
    game.Write("media/P.PNG", "png");
    ASSERT_TRUE(Read("/content/html/a.html"));
    EXPECT_EQ(bytes, "<p>a</p>");
    EXPECT_EQ(type, "text/html");
    ASSERT_TRUE(Read("/content/html/..\\..\\media\\P.PNG"));
    EXPECT_EQ(type, "image/png");
    EXPECT_EQ(PageFileType("look.css"), "text/css");
    EXPECT_EQ(PageFileType("a.b/noending"), "");
}

TEST_F(PageFileTest, NothingElseIsRead) {
    game.Write("beside.html", "<p>beside</p>");
    game.Write("saves/page.html", "<p>saves</p>");
    game.Write("content/tool.exe", "MZ");
    game.Dir("content/folder.html");
    std::filesystem::create_symlink(game.root / "beside.html", game.root / "content/linked.html");
    std::filesystem::create_symlink("/etc", game.root / "content/etc");
    game.Write("media/huge.png", "");
    std::filesystem::resize_file(game.root / "media/huge.png", MaxPageFileBytes + 1);
    for (const char* refused :
         {"/beside.html", "/content/../beside.html", "/saves/page.html", "/content/tool.exe", "/content",
          "/content/folder.html", "/content/linked.html", "/content/etc/passwd", "/content/missing.html",
          "/media/huge.png", "/%2e%2e/beside.html"}) {
        EXPECT_FALSE(Read(refused)) << refused;
        EXPECT_TRUE(bytes.empty()) << refused;
    }
    EXPECT_TRUE(ReturnsDespiteFifo((game.root / "content/fifo.html").string(),
                                   [&] { return Read("/content/fifo.html"); }));
}

TEST(PathWithin, FollowsLinksAndDotSegmentsAndWantsBothToExist) {
    TTempContent game;
    game.Write("content/tut/t.html", "");
    game.Write("content/html/m.html", "");
    std::filesystem::create_symlink(game.root / "content/html/m.html", game.root / "content/tut/l.html");
    const std::string tut = (game.root / "content/tut").string();
    EXPECT_TRUE(PathWithin(tut, tut + "/./t.html"));
    EXPECT_FALSE(PathWithin(tut, tut + "/../html/m.html"));
    EXPECT_FALSE(PathWithin(tut, tut + "/l.html"));
    EXPECT_FALSE(PathWithin(tut, tut));
    EXPECT_FALSE(PathWithin(tut, tut + "/missing.html"));
    EXPECT_FALSE(PathWithin(tut + "/none", tut + "/none/t.html"));
}

} // namespace
