#include "tests/rules/RulesFixture.hpp"

namespace {

using ItemTest = RulesTest;

TEST_F(ItemTest, LoadsEveryKeyInAnyOrder) {
    TItem* item =
        TItem::Load(dir.Write("items/job.txt", "SetWealthCap(\"$A\")\nLockAction(\"work\", \"quit\")\n"
                                               "SetItemType(\"JOB\")\nTAG=\"job_cook\"\nNAME=\"Cook\"\n"));
    EXPECT_EQ(item->name, "Cook");
    EXPECT_EQ(item->tag, "job_cook");
    EXPECT_EQ(item->itemType, "JOB");
    EXPECT_EQ(item->actionTag, "work");
    EXPECT_EQ(item->quitActionTag, "quit");
    EXPECT_EQ(item->wealthCap, 10);
    ASSERT_EQ(ItemList.size(), 1u);
    EXPECT_EQ(ItemList[0].get(), item);
}

TEST_F(ItemTest, AutoActionReplacesTheLockActionTagOnly) {
    TItem* item =
        TItem::Load(dir.Write("items/a.txt", "AutoAction(\"auto\")\nLockAction(\"lock\", \"quit\")\n"));
    EXPECT_EQ(item->actionTag, "auto");
    EXPECT_EQ(item->quitActionTag, "quit");
}

TEST_F(ItemTest, MissingKeysKeepDefaultsButNameAndTagReadNull) {
    TItem* item = TItem::Load(dir.Write("items/empty.txt", ""));
    EXPECT_EQ(item->name, "NULL");
    EXPECT_EQ(item->tag, "NULL");
    EXPECT_EQ(item->itemType, "");
    EXPECT_EQ(item->actionTag, "");
    EXPECT_EQ(item->quitActionTag, "");
    EXPECT_EQ(item->wealthCap, 0);
    TItem* oneField = TItem::Load(dir.Write("items/lock.txt", "LockAction(\"only\")\n"));
    EXPECT_EQ(oneField->quitActionTag, "NULL");
}

// "NULL" is the text of an absent field; it must not find the action whose file lacks a tag line.
TEST_F(ItemTest, AJobWithoutAQuitActionGetsNoneEvenBesideAnUntaggedAction) {
    TItem* job = Item("job_cook", "JOB", "LockAction(\"cook\")\n");
    TAction* cook = Unlocked("TAG=\"cook\"\n");
    const TAction* untagged = Unlocked("NAME=\"Untagged\"\n");
    ASSERT_EQ(untagged->tag, "NULL");
    EXPECT_EQ(TAction::FindByTag("NULL"), nullptr);
    TPlayer::GiveItem(job);
    EXPECT_EQ(Player.workAction, cook);
    EXPECT_EQ(Player.quitAction, nullptr);
}

TEST_F(ItemTest, IconLoadsFromItsFileOrFallsBackToTheDefault) {
    dir.WriteBmp("media/DefaultIcon.jpg", 5, 5);
    dir.WriteBmp("art/own.bmp", 3, 2);
    TItem* own = TItem::Load(dir.Write("items/a.txt", "SetIcon(\"art/own.bmp\")\n"));
    TItem* missing = TItem::Load(dir.Write("items/b.txt", "SetIcon(\"art/none.bmp\")\n"));
    TItem* directory = TItem::Load(dir.Write("items/c.txt", "SetIcon(\"art\")\n"));
    TItem* none = TItem::Load(dir.Write("items/d.txt", "TAG=\"d\"\n"));
    dir.Write("art/broken.png", "not a picture");
    TItem* undecodable = TItem::Load(dir.Write("items/e.txt", "SetIcon(\"art/broken.png\")\n"));
    ASSERT_NE(own->icon, nullptr);
    EXPECT_EQ(ImageWidth(own->icon), 3);
    EXPECT_EQ(ImageHeight(own->icon), 2);
    for (const TItem* item : {missing, directory, none, undecodable}) {
        ASSERT_NE(item->icon, nullptr);
        EXPECT_EQ(ImageWidth(item->icon), 5);
    }
    EXPECT_TRUE(log.empty());
}

TEST_F(ItemTest, LookupsReturnTheFirstLoaded) {
    TItem* first = Item("coin");
    TItem* second = Item("coin");
    EXPECT_NE(first, second);
    EXPECT_EQ(TItem::FindByTag("coin"), first);
    EXPECT_EQ(TItem::FindByTag("Coin"), nullptr);
    EXPECT_EQ(TItem::NameOfTag("coin"), "Name of coin");
    EXPECT_EQ(TItem::NameOfTag("nothing"), "");
    EXPECT_EQ(ItemList.size(), 2u);
}

TEST_F(ItemTest, LoadAllReadsTheItemsDirectory) {
    dir.Write("content/items/a.txt", "TAG=\"a\"\n");
    dir.Write("content/items/b.txt", "TAG=\"b\"\n");
    dir.Write("content/items/c.TXT", "TAG=\"c\"\n");
    EXPECT_EQ(TItem::LoadAll(), 2);
    EXPECT_NE(TItem::FindByTag("a"), nullptr);
    EXPECT_NE(TItem::FindByTag("b"), nullptr);
    EXPECT_EQ(TItem::FindByTag("c"), nullptr);
}

TEST_F(ItemTest, GivingActionIsTheFirstThatHandsItOut) {
    TItem* coin = Item("coin");
    TItem* untagged = TItem::Load(dir.Write("items/untagged.txt", "NAME=\"No tag\"\n"));
    Action("TAG=\"a\"\nGiveItem(\"other\")\n");
    TAction* b = Action("TAG=\"b\"\nGiveItem(\"x\")\nGiveItem(\"coin\", \"70\")\n");
    Action("TAG=\"c\"\nGiveItem(\"coin\")\n");
    EXPECT_EQ(coin->FindGivingAction(), b);
    // Every short list closes with "NULL", which must not count as giving the item tagged "NULL".
    EXPECT_EQ(untagged->tag, "NULL");
    EXPECT_EQ(untagged->FindGivingAction(), nullptr);
}

// A type outside the table, or a build item without a home tag, behaves as a plain object.
TEST_F(ItemTest, UnknownTypesAndOtherBuildsAreHeldLikePlainObjects) {
    TItem* odd = Item("odd", "WEIRD");
    TItem* shed = Item("shed", "BUILD");
    EXPECT_EQ(TPlayer::GiveItem(odd), 1);
    EXPECT_EQ(TPlayer::GiveItem(odd), 0);
    EXPECT_EQ(TPlayer::GiveItem(shed), 1);
    EXPECT_EQ(TPlayer::CountType("BUILD"), 1);
}

} // namespace
