#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "ui/skin/tree_ctrl.h"
#include "ui/ui_fixture.h"

namespace quobel {
namespace {

class TreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent.resize(300, 300);
        tree->Create(77, {}, QRect(10, 10, 200, 200), env.ctx.CommonPath("open.png"),
                     env.ctx.CommonPath("close.png"), DialogFont(15, 600));
        parent.show();
        group = tree->AddItem(nullptr, true, false, {}, "Group", 1, 0, 5);
        leaf = tree->AddItem(group, false, true, env.ctx.CommonPath("DN_N.png"), "Leaf", 2, 1, 5);
        other = tree->AddItem(nullptr, false, false, {}, "Other", 3, 0, 5);
    }
    QPoint RowPoint(TreeItem* item, int x = 100) const { return {x, tree->ItemRect(item).center().y()}; }

    test::UiEnv env;
    QWidget parent;
    CTreeCtrlEx* tree = new CTreeCtrlEx(env.ctx, &parent);
    TreeItem* group = nullptr;
    TreeItem* leaf = nullptr;
    TreeItem* other = nullptr;
};

TEST_F(TreeTest, ClicksReportTheItemOrNothingForEmptySpace) {
    QSignalSpy click(tree, &CTreeCtrlEx::TreeItemClick);
    ASSERT_EQ(tree->Selected(), leaf);  // selected on adding, its group expanded
    QTest::mouseClick(tree, Qt::LeftButton, {}, RowPoint(other));
    QTest::mouseClick(tree, Qt::LeftButton, {}, RowPoint(other));  // already selected: dropped
    QTest::mouseClick(tree, Qt::LeftButton, {}, QPoint(100, 190));  // below the last row
    ASSERT_EQ(click.count(), 2);
    EXPECT_EQ(click.at(0).at(0).toInt(), 77);
    EXPECT_EQ(click.at(0).at(1).value<TreeItem*>(), other);
    EXPECT_EQ(click.at(1).at(1).value<TreeItem*>(), nullptr);

    tree->SetReportEmptyClicks(false);
    tree->SetIgnoreSelectedClick(false);
    QTest::mouseClick(tree, Qt::LeftButton, {}, QPoint(100, 190));
    QTest::mouseClick(tree, Qt::LeftButton, {}, RowPoint(other));
    ASSERT_EQ(click.count(), 3);
    EXPECT_EQ(click.at(2).at(1).value<TreeItem*>(), other);

    tree->SetAcceptClicks(false);
    QTest::mouseClick(tree, Qt::LeftButton, {}, RowPoint(group));
    EXPECT_EQ(click.count(), 3);
}

TEST_F(TreeTest, GroupButtonAndDoubleClickToggleRightClickAndDeleteReport) {
    QSignalSpy dbl(tree, &CTreeCtrlEx::TreeItemDblClk);
    QSignalSpy right(tree, &CTreeCtrlEx::TreeItemRClick);
    QSignalSpy del(tree, &CTreeCtrlEx::TreeDeleteKey);

    QTest::mouseClick(tree, Qt::LeftButton, {}, RowPoint(group, 5));  // on the group's button
    EXPECT_EQ(group->rec.expanded, 0u);
    EXPECT_TRUE(tree->ItemRect(leaf).isEmpty());
    QTest::mouseDClick(tree, Qt::LeftButton, {}, RowPoint(group));
    EXPECT_EQ(group->rec.expanded, 1u);
    ASSERT_GE(dbl.count(), 1);
    EXPECT_EQ(dbl.last().at(1).value<TreeItem*>(), group);

    QTest::mouseClick(tree, Qt::RightButton, {}, RowPoint(leaf));
    QTest::mouseClick(tree, Qt::RightButton, {}, QPoint(100, 190));
    ASSERT_EQ(right.count(), 2);
    EXPECT_EQ(right.at(0).at(1).value<TreeItem*>(), leaf);
    EXPECT_EQ(right.at(1).at(1).value<TreeItem*>(), nullptr);

    QTest::keyPress(tree, Qt::Key_Delete);
    EXPECT_EQ(del.count(), 0);  // reported on release
    QTest::keyRelease(tree, Qt::Key_Delete);
    ASSERT_EQ(del.count(), 1);
    EXPECT_EQ(del.at(0).at(0).toInt(), 77);
}

TEST_F(TreeTest, GroupsStopAtTheMaximumDepthLeavesDoNot) {
    TreeItem* parent_item = group;  // depth 0
    for (int depth = 1; depth <= 5; ++depth) {
        parent_item = tree->AddItem(parent_item, true, false, {}, "g", 0, 0, 0);
        ASSERT_NE(parent_item, nullptr) << depth;
    }
    EXPECT_EQ(CTreeCtrlEx::Depth(parent_item), 5);
    EXPECT_EQ(tree->AddItem(parent_item, true, false, {}, "too deep", 0, 0, 0), nullptr);
    EXPECT_NE(tree->AddItem(parent_item, false, false, {}, "leaf", 0, 0, 0), nullptr);
    EXPECT_EQ(tree->AddItem(leaf, false, false, {}, "under a leaf", 0, 0, 0), nullptr);
}

TEST_F(TreeTest, WalkVisitsChildrenBeforeTheirGroupAndStopsOnRequest) {
    std::vector<QString> seen;
    const auto record = [&seen](TreeItem*, TreeItemRecord&, const QString& caption, void*) {
        seen.push_back(caption);
        return 0;
    };
    EXPECT_EQ(tree->Walk(nullptr, record, nullptr, true), 0);
    EXPECT_EQ(seen, (std::vector<QString>{"Leaf", "Group", "Other"}));
    seen.clear();
    tree->Walk(nullptr, record, nullptr, false);
    EXPECT_EQ(seen, (std::vector<QString>{"Group", "Other"}));
    int visits = 0;
    EXPECT_EQ(tree->Walk(nullptr, [&visits](TreeItem*, TreeItemRecord&, const QString&, void*) { return ++visits; },
                         nullptr, true),
              1);
    EXPECT_EQ(visits, 1);
    EXPECT_EQ(tree->FindTopLevel(3), other);
    EXPECT_EQ(tree->FindTopLevel(2), nullptr);  // a child is not top level
}

TEST_F(TreeTest, OnlyCaptionsLongerThanTwentyCharactersGetATooltip) {
    TreeItem* twenty = tree->AddItem(nullptr, false, false, {}, QString(20, 'a'), 4, 0, 5);
    TreeItem* longer = tree->AddItem(nullptr, false, false, {}, QString(21, 'b'), 5, 0, 5);
    QTest::mouseMove(tree, RowPoint(twenty));
    EXPECT_EQ(tree->Hovered(), twenty);
    EXPECT_TRUE(tree->toolTip().isEmpty());
    QTest::mouseMove(tree, RowPoint(longer));
    EXPECT_EQ(tree->toolTip(), QString(21, 'b'));
    tree->DeleteItem(longer);
    EXPECT_EQ(tree->Hovered(), nullptr);
}

TEST_F(TreeTest, PictureTreeSelectsByValueAnywhere) {
    CTreeCtrlImageEx pics(env.ctx, &parent);
    pics.Create(5, {}, QRect(0, 0, 160, 200), {}, {}, DialogFont(15, 600));
    TreeItem* g = pics.AddItem(nullptr, true, false, {}, "guns", 0, 0, 0);
    pics.AddImageItem(g, {}, {}, "M4", 10);
    TreeItem* akm = pics.AddImageItem(g, {}, {}, "AKM", 11);
    EXPECT_TRUE(pics.SelectByValue(11));
    EXPECT_EQ(pics.Selected(), akm);
    EXPECT_EQ(g->rec.expanded, 1u);
    EXPECT_FALSE(pics.SelectByValue(99));
}

}  // namespace
}  // namespace quobel
