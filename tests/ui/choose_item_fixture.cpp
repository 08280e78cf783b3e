// Choosing from a skinned list as a user does; kept apart from the page host so that
// programs built on the host without the test frameworks (the benchmarks) need neither.

#include <gtest/gtest.h>

#include <QTest>

#include <algorithm>

#include "ui/page_fixture.h"
#include "ui/skin/combo_btn.h"
#include "ui/skin/skin_menu.h"

namespace quobel::test {

void ChooseItem(CComboBtn* combo, std::uint32_t value) {
    ASSERT_NE(combo, nullptr);
    QTest::mouseClick(combo, Qt::LeftButton);
    CSkinMenu* menu = CSkinMenu::OpenMenu();
    ASSERT_NE(menu, nullptr);
    const auto& items = combo->Items(combo->CurrentList());
    const auto it = std::find_if(items.begin(), items.end(), [&](const auto& i) { return i.value == value; });
    ASSERT_NE(it, items.end()) << value;
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->RowRect(static_cast<int>(it - items.begin())).center());
}

}  // namespace quobel::test
