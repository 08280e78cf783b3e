#include "platform/pointer.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace quobel {
namespace {

TEST(PointerSpeed, WindowsStepsMapOntoTheDesktopRangeAndBack) {
    EXPECT_DOUBLE_EQ(DesktopSpeedOf(10), 0.0);
    EXPECT_DOUBLE_EQ(DesktopSpeedOf(20), 1.0);
    EXPECT_DOUBLE_EQ(DesktopSpeedOf(1), -0.9);
    EXPECT_DOUBLE_EQ(DesktopSpeedOf(0), -0.9);   // out of range: clamped, not extrapolated
    EXPECT_DOUBLE_EQ(DesktopSpeedOf(99), 1.0);
    for (int s = 1; s <= 20; ++s) EXPECT_EQ(PointerSpeedOf(DesktopSpeedOf(s)), s);
    EXPECT_EQ(PointerSpeedOf(-1.0), 1);
}

TEST(PointerSettings, MissingSchemaReportsEveryValueUnsupportedWithoutAborting) {
    auto pointer = MakeGSettingsPointer("org.quobel.test.no-such-schema");
    const PointerApplyResult r = pointer->Apply(PointerSettings{});
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.changed.empty());
    for (PointerValue v : {PointerValue::WheelLines, PointerValue::DblClickTime, PointerValue::PointerSpeed,
                           PointerValue::EnhancePrecision, PointerValue::Trails})
        EXPECT_NE(std::find(r.unsupported.begin(), r.unsupported.end(), v), r.unsupported.end())
            << PointerValueName(v);
}

}  // namespace
}  // namespace quobel
