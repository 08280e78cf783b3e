#include "ui/mouse_fixture.h"

#include <QTest>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "ui/pages/key_ms_dlg.h"
#include "ui/skin/png_btn.h"

namespace quobel::test {

namespace {

std::string KeyOf(const std::string& line) { return line.substr(0, line.find('=')); }

}  // namespace

EditedProgramFolder::EditedProgramFolder(const CfgEdits& edits) {
    namespace fs = std::filesystem;
    const fs::path program(QUOBEL_PROGRAM_DIR);
    for (const auto& entry : fs::directory_iterator(program)) {
        if (entry.path().filename() == "cfg.ini") continue;
        fs::create_symlink(entry.path(), fs::path(dir_.path()) / entry.path().filename());
    }
    std::ifstream in(program / "cfg.ini", std::ios::binary);
    std::ostringstream out;
    std::string section;
    std::set<std::string> done;
    const auto flush = [&](const std::string& sec) {
        const auto it = edits.find(sec);
        if (it == edits.end()) return;
        for (const std::string& line : it->second) {
            if (!done.count(sec + "/" + KeyOf(line))) out << line << "\r\n";
        }
    };
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') {
            flush(section);
            section = line.substr(1, line.find(']') - 1);
            out << line << "\r\n";
            continue;
        }
        const auto it = edits.find(section);
        bool replaced = false;
        if (it != edits.end() && line.find('=') != std::string::npos && line[0] != ';') {
            for (const std::string& e : it->second) {
                if (KeyOf(e) == KeyOf(line)) {
                    out << e << "\r\n";
                    done.insert(section + "/" + KeyOf(e));
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) out << line << "\r\n";
    }
    flush(section);
    WriteText(dir_ / "cfg.ini", out.str());
}

bool ClickMenuCommand(CSkinMenu* menu, const std::vector<MenuItemEx>& items, int cmd) {
    int target = -1;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].nCmd == cmd) {
            target = static_cast<int>(i);
            break;
        }
    }
    if (target < 0) return false;
    std::vector<int> path{target};
    while (items[static_cast<std::size_t>(path.back())].nParent != MenuItemEx::kTopLevel) {
        path.push_back(items[static_cast<std::size_t>(path.back())].nParent);
    }
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
        if (menu == nullptr) return false;
        const auto& rows = menu->Rows();
        const auto row = std::find(rows.begin(), rows.end(), *it);
        if (row == rows.end()) return false;
        const QPoint at = menu->RowRect(static_cast<int>(row - rows.begin())).center();
        if (*it == target) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, at);
            return true;
        }
        // A click on a row with a sub-menu opens it, as hovering does.
        QTest::mouseClick(menu, Qt::LeftButton, {}, at);
        menu = menu->SubMenu();
    }
    return false;
}

bool ChooseFunction(CKeyMsDlg& page, int button, int cmd) {
    QTest::mouseClick(page.Caption(button), Qt::LeftButton);
    return ClickMenuCommand(CSkinMenu::OpenMenu(), page.BuildMenu(button), cmd);
}

}  // namespace quobel::test
