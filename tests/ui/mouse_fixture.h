#pragma once
// The mouse button page on a test host: a program folder whose cfg.ini is the build's
// with some keys changed, and helpers that choose menu entries with real clicks.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/temp_dir.h"
#include "ui/skin/skin_menu.h"

namespace quobel {
class CKeyMsDlg;
}  // namespace quobel

namespace quobel::test {

// Section -> "Key=value" lines; each replaces the section's key or is added to it.
using CfgEdits = std::map<std::string, std::vector<std::string>>;

// The build's program folder with cfg.ini edited; every other file is linked.
class EditedProgramFolder {
public:
    explicit EditedProgramFolder(const CfgEdits& edits);
    // Ends with a separator, as TestPageHost takes it.
    [[nodiscard]] std::string Path() const { return dir_.path() + "/"; }

private:
    TempDir dir_;
};

// Clicks the row of the open menu (made of items) whose command is cmd; a click
// opens each sub-menu on the way. False when the menu does not offer it.
bool ClickMenuCommand(CSkinMenu* menu, const std::vector<MenuItemEx>& items, int cmd);

// Clicks caption `button` of the page and then the menu row of cmd.
bool ChooseFunction(CKeyMsDlg& page, int button, int cmd);

}  // namespace quobel::test
