#include "macro/macro_names.h"

#include <gtest/gtest.h>

#include "config/text_table.h"

namespace quobel {
namespace {

TEST(MacroListNames, CaptionOfAMacroKeyNamesTheMacro) {
    MacroList list;
    MacroRecord record;
    record.MacroID = 0x123456;
    SetField(record.szName, std::string_view("Reload äöü"));
    list.Add(record);
    const MacroListNames names(list);

    KeyInfo key;
    key.FunID = 0x05000000;
    key.MacroID = 0x123456;
    const TextTable texts;  // no language loaded: the word "Macro" is empty
    EXPECT_EQ(FunctionCaption(key, texts, &names), " - Reload äöü");
    key.MacroID = 0x654321;
    EXPECT_EQ(FunctionCaption(key, texts, &names), "");
}

}  // namespace
}  // namespace quobel
