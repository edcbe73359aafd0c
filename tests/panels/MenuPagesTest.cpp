// The game's own HTML pages: every link leads somewhere, and the level links carry the level names
// where the menu watch reads them.
#include "platform/Platform.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string Root = GORUM_SOURCE_DIR "/content/";

std::string ReadPage(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> Matches(const std::string& text, const std::string& pattern) {
    std::vector<std::string> found;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
        found.push_back((*it)[1]);
    return found;
}

std::vector<std::string> Links(const std::string& page) {
    return Matches(page, R"re(href="([^"]*)")re");
}

bool HasAnchor(const std::string& page, const std::string& name) {
    return page.find("id=\"" + name + "\"") != std::string::npos;
}

// The name the menu watch takes from a location: characters 19 and 20 after the last "html\".
std::string LevelNameOf(const std::string& location) {
    const size_t mark = location.rfind("html\\");
    const std::string rest = mark == std::string::npos ? location : location.substr(mark + 5);
    if (!rest.starts_with("redirects")) return "";
    return rest.size() >= 20 ? rest.substr(18, 2) : rest.substr(rest.size() < 2 ? 0 : rest.size() - 2);
}

// The names of the shipped levels, as their files give them.
std::set<std::string> ShippedLevelNames() {
    std::set<std::string> names;
    for (const std::string& file : ListDirectory(Root + "levels/")) {
        if (!file.ends_with(".txt")) continue;
        for (const std::string& name : Matches(ReadPage(Root + "levels/" + file), R"re(NAME="([^"]*)")re"))
            names.insert(name);
    }
    return names;
}

std::string Slashed(std::string path) {
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

// Checks every link of a page: anchors exist, local files exist; level links are returned.
std::vector<std::string> CheckLinks(const std::string& folder, const std::string& name) {
    const std::string page = ReadPage(folder + name);
    EXPECT_FALSE(page.empty()) << name;
    std::vector<std::string> levels;
    for (const std::string& href : Links(page)) {
        if (href.starts_with("javascript:")) continue;
        if (href.starts_with("redirects\\")) {
            levels.push_back(href);
            continue;
        }
        EXPECT_EQ(href.find('\\'), std::string::npos) << name << ": " << href;
        const size_t hash = href.find('#');
        const std::string file = href.substr(0, hash);
        const std::string anchor = hash == std::string::npos ? "" : href.substr(hash + 1);
        const std::string target = file.empty() ? page : ReadPage(folder + file);
        EXPECT_FALSE(target.empty()) << name << " links to a missing page: " << href;
        if (!anchor.empty()) {
            EXPECT_TRUE(HasAnchor(target, anchor)) << name << ": " << href;
        }
    }
    return levels;
}

TEST(MenuPagesTest, TheLevelLinksNameEveryShippedLevelAndTheirPagesExist) {
    const std::string folder = Root + "html/";
    std::set<std::string> names;
    for (const std::string& href : CheckLinks(folder, "MainMenu.html")) {
        // As the view reports it: the page's folder and the link joined with a backslash.
        const std::string location = CurrentDirectory() + "/content/html\\" + href;
        const std::string level = LevelNameOf(location);
        EXPECT_EQ(level.size(), 2u) << href;
        EXPECT_TRUE(names.insert(level).second) << "two links start level " << level;
        EXPECT_EQ(FileKind(folder + Slashed(href)), 1) << href;
    }
    EXPECT_GE(names.size(), 10u);
    EXPECT_EQ(names, ShippedLevelNames());
}

TEST(MenuPagesTest, TheMainMenuOffersPlayAndHasTheLevelListAnchor) {
    const std::string page = ReadPage(Root + "html/MainMenu.html");
    EXPECT_TRUE(HasAnchor(page, "levels")) << "going back to the level list opens this anchor";
    EXPECT_NE(page.find(">Play</a>"), std::string::npos);
    EXPECT_NE(page.find("href=\"#levels\""), std::string::npos);
    EXPECT_EQ(page.find("<script"), std::string::npos) << "the menu is plain HTML and CSS";
}

TEST(MenuPagesTest, EveryOtherMenuPageLinksOnlyToPagesThatExist) {
    const std::string folder = Root + "html/";
    for (const std::string& name : ListDirectory(folder)) {
        if (!name.ends_with(".html") || name == "MainMenu.html") continue;
        EXPECT_TRUE(CheckLinks(folder, name).empty()) << name << " must not start levels";
    }
    EXPECT_EQ(FileKind(folder + "About.html"), 1);
}

TEST(MenuPagesTest, RedirectPagesOfferNoLinkThatWouldReadAsAnotherLevel) {
    // A page reached through a level link has "html\redirects" in its location; any relative link
    // from it would keep that, and the watch would take it for a level link again.
    const std::string folder = Root + "html/redirects/";
    int pages = 0;
    for (const std::string& name : ListDirectory(folder)) {
        if (!name.ends_with(".html")) continue;
        ++pages;
        for (const std::string& href : Links(ReadPage(folder + name)))
            EXPECT_TRUE(href.starts_with("javascript:")) << name << ": " << href;
    }
    EXPECT_EQ(static_cast<size_t>(pages), ShippedLevelNames().size());
}

TEST(MenuPagesTest, TutorialPagesExistAndLinkToEachOther) {
    const std::string folder = Root + "tut/";
    for (size_t level = 1; level <= ShippedLevelNames().size(); ++level) {
        const std::string name = "Tutorial" + std::to_string(level) + ".html";
        EXPECT_EQ(FileKind(folder + name), 1) << name;
        EXPECT_TRUE(CheckLinks(folder, name).empty()) << name;
        EXPECT_EQ(ReadPage(folder + name).find("<script"), std::string::npos) << name;
    }
}

} // namespace
