#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "ui/skin/png_slider.h"
#include "ui/ui_fixture.h"

namespace quobel {
namespace {

struct ScaleCase {
    const char* name;
    int n, length, thumb;
    std::vector<int> expected;
};

class ScalePositions : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScalePositions, SpreadsTheRemainderOverTheFirstSteps) {
    const ScaleCase& c = GetParam();
    EXPECT_EQ(ComputeScalePositions(c.n, c.length, c.thumb), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Slider, ScalePositions,
    ::testing::Values(ScaleCase{"four_steps_remainder_two", 4, 170, 18, {9, 60, 111, 161}},
                      ScaleCase{"two_steps_only_the_ends", 2, 170, 18, {9, 161}},
                      ScaleCase{"one_step", 1, 170, 18, {9}},
                      ScaleCase{"even_split", 5, 170, 18, {9, 47, 85, 123, 161}},
                      ScaleCase{"remainder_on_every_inner_step", 6, 170, 18, {9, 40, 71, 101, 131, 161}}),
    [](const auto& row) { return std::string(row.param.name); });

class SliderTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent.resize(300, 60);
        ASSERT_TRUE(bar->Create("bar.png", "bar_ov.png", "slider2.png", "bar_dot.png", 4, 148, {10, 10}));
        parent.show();
    }
    test::UiEnv env;
    QWidget parent;
    CPngSliderBar* bar = new CPngSliderBar(env.ctx, &parent);
};

TEST_F(SliderTest, ValueTableDecidesThePositionAndUnknownValuesChangeNothing) {
    CPngSlider* s = bar->Slider();
    const std::vector<int> table{400, 800, 1600, 3200};
    s->SetValueTable(table);
    QSignalSpy pos(bar, &CPngSliderBar::SliderPos);

    s->SetPos(1600, true);
    EXPECT_EQ(s->Pos(), 3);
    EXPECT_EQ(s->Centre(), 111);
    ASSERT_EQ(pos.count(), 1);
    EXPECT_EQ(pos.at(0).at(0).toInt(), 1600);
    EXPECT_EQ(pos.at(0).at(1).toInt(), 148);

    s->SetPos(1000, true);  // not in the table
    EXPECT_EQ(s->Pos(), 3);
    EXPECT_EQ(s->Centre(), 111);
    EXPECT_EQ(pos.count(), 1);
}

TEST_F(SliderTest, PositionOutsideTheRangeBecomesTheMinimum) {
    CPngSlider* s = bar->Slider();
    s->SetPos(3, false);
    s->SetPos(9, false);
    EXPECT_EQ(s->Pos(), 1);
    EXPECT_EQ(s->Centre(), 9);
}

TEST_F(SliderTest, DragPostsEachNewValueAndReleaseSnapsWithNotify) {
    CPngSlider* s = bar->Slider();
    QSignalSpy drag(bar, &CPngSliderBar::SliderDrag);
    QSignalSpy pos(bar, &CPngSliderBar::SliderPos);
    const QPoint grip(9, 9);
    QTest::mousePress(s, Qt::LeftButton, {}, grip);
    for (int dx = 10; dx <= 80; dx += 10) QTest::mouseMove(s, grip + QPoint(10, 0));  // thumb moves 10 each time
    EXPECT_TRUE(s->IsDragging());
    QTest::mouseRelease(s, Qt::LeftButton, {}, grip);

    // Centre went from 9 to 89: nearest positions 1, 2 (from 35 on), 3 (from 86 on).
    ASSERT_EQ(drag.count(), 2);
    EXPECT_EQ(drag.at(0).at(0).toInt(), 2);
    EXPECT_EQ(drag.at(1).at(0).toInt(), 3);
    EXPECT_EQ(drag.at(1).at(1).toInt(), 148);
    ASSERT_EQ(pos.count(), 1);
    EXPECT_EQ(pos.at(0).at(0).toInt(), 3);
    EXPECT_EQ(s->Centre(), 111);
}

TEST_F(SliderTest, TrackClickSetsTheNearestPositionEqualDistanceTakesTheLater) {
    QSignalSpy pos(bar, &CPngSliderBar::SliderPos);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(150, 9));
    ASSERT_EQ(pos.count(), 1);
    EXPECT_EQ(pos.at(0).at(0).toInt(), 4);
    // 85.5 is not a pixel; between 60 and 111 the middle pixel 85 is nearer 60, 86 nearer 111.
    EXPECT_EQ(bar->Slider()->NearestPos(85), 2);
    EXPECT_EQ(bar->Slider()->NearestPos(86), 3);
    bar->Slider()->SetScalePos(std::vector<int>{0, 10, 20, 30});
    EXPECT_EQ(bar->Slider()->NearestPos(5), 2);
}

TEST_F(SliderTest, ReportsMismatchedScaleAndMissingPictures) {
    bar->Slider()->SetScalePos(std::vector<int>{1, 2, 3});
    CPngSliderBar broken(env.ctx, &parent);
    EXPECT_FALSE(broken.Create("no_such_bar.png", "bar_ov.png", "slider2.png", "", 3, 1, {}));
    EXPECT_FALSE(broken.Create("bar.png", "no_such_fill.png", "slider2.png", "", 3, 1, {}));
    EXPECT_FALSE(broken.Create("bar.png", "bar_ov.png", "no_such_thumb.png", "", 3, 1, {}));
    const std::vector<ReportedMessage> expected{
        {"Warning", "CPngSlider::SetScalePos  dwScale and Range unmatch!"},
        {"Error", "Slider img is null"},
        {"", "File not exist: " + env.ctx.SkinPath("no_such_fill.png").toStdString()},
        {"Warrning", "Create slider failed"},
    };
    EXPECT_EQ(env.reporter.messages, expected);
}

}  // namespace
}  // namespace quobel
