// The macro editor's event list: rows, the insert menu, change and delete of an event,
// and the loop settings.

#include <QLineEdit>

#include <algorithm>
#include <array>

#include "macro/macro_file.h"
#include "ui/macro/macro_dlg.h"
#include "ui/modals.h"
#include "ui/pages/page.h"
#include "ui/skin/msg_dlg.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/skin_menu.h"
#include "ui/skin/tree_ctrl.h"

namespace quobel {

namespace {

constexpr std::array<const char*, 7> kMouseCaptions{"tc_click",  "tc_menu",     "tc_middle",    "tc_forward",
                                                    "tc_back",   "tc_scrollup", "tc_scrolldown"};
constexpr std::uint16_t kWheelUp = 245;
constexpr std::uint16_t kWheelDown = 246;
constexpr int kInsertMenuWidth = 146;

// Virtual-key codes a modifier alone stands for.
constexpr int kVkLCtrl = 162, kVkLShift = 160, kVkLAlt = 164, kVkLWin = 91;

}  // namespace

// ---- rows -----------------------------------------------------------------------------

std::vector<EventRow> CMacroDlg::Rows() const {
    std::vector<EventRow> rows;
    for (const auto& item : m_pEventTree->TopLevel()) rows.push_back({item->rec.type, item->rec.value});
    return rows;
}

void CMacroDlg::SetRows(const std::vector<EventRow>& rows) {
    TreeItem* selected = m_pEventTree->Selected();
    int selected_index = -1;
    const auto& top = m_pEventTree->TopLevel();
    for (std::size_t i = 0; i < top.size(); ++i) {
        if (top[i].get() == selected) selected_index = static_cast<int>(i);
    }
    m_pEventTree->DeleteAll();
    for (const EventRow& r : rows) AddEventRow(nullptr, r);
    if (selected_index >= 0 && selected_index < static_cast<int>(m_pEventTree->TopLevel().size())) {
        m_pEventTree->SelectItem(m_pEventTree->TopLevel()[static_cast<std::size_t>(selected_index)].get());
    }
}

QString CMacroDlg::RowCaption(const EventRow& row) const {
    if (row.type == kRowDelay) return QStringLiteral("%1 ms").arg(row.value);
    if (row.value >= kMacroMouseFirst && row.value <= kMacroMouseLast) {
        return Text(kMouseCaptions[row.value - kMacroMouseFirst]);
    }
    return m_ctx.KeyName(static_cast<int>(row.value));
}

const QImage& CMacroDlg::RowPicture(std::uint32_t type) const {
    if (type == kRowDelay) return m_imgDelay;
    return type == kRowPress ? m_imgDown : m_imgUp;
}

TreeItem* CMacroDlg::AddEventRow(TreeItem* after, const EventRow& row) {
    if (after) return m_pEventTree->AddItemAfter(after, false, RowPicture(row.type), RowCaption(row), row.value, row.type);
    TreeItem* item = m_pEventTree->AddItem(nullptr, false, false, QString(), RowCaption(row), row.value, row.type, 0);
    if (item) {
        item->rec.picture = RowPicture(row.type);
        item->rec.bOwnPictures = 0;
    }
    return item;
}

// ---- prompts --------------------------------------------------------------------------

std::optional<int> CMacroDlg::AskKey() {
    CMsgDlg box(m_ctx, this, CMsgDlg::kCapture, Text("tc_msg10"));
    box.SetCaptureOptions(true, false);
    box.Init();
    if (m_host.Modal().Exec(box) != 1) return std::nullopt;
    const KeyCombo combo = box.CaptureResult();
    if (combo.key1 != 0) return combo.key1;
    if (combo.modifiers & (kModLCtrl | kModRCtrl)) return kVkLCtrl;
    if (combo.modifiers & (kModLShift | kModRShift)) return kVkLShift;
    if (combo.modifiers & (kModLAlt | kModRAlt)) return kVkLAlt;
    if (combo.modifiers & (kModLWin | kModRWin)) return kVkLWin;
    return std::nullopt;
}

std::optional<int> CMacroDlg::AskDelay() {
    CMsgDlg box(m_ctx, this, CMsgDlg::kNumber, Text("tc_macro_msg12"));
    box.Init();
    if (m_host.Modal().Exec(box) != 1) return std::nullopt;
    return std::max(box.NumberResult(), m_limits.nMinDelay);
}

// ---- insert menu --------------------------------------------------------------------

void CMacroDlg::OnInsertButton() {
    if (RefuseWhileRecording()) return;
    if (!SelectedMacroRow()) {
        Info(Text("tc_macro_msg1"));
        return;
    }
    std::vector<MenuItemEx> items{
        MenuItemEx::Make(MenuItemEx::kTopLevel, kInsPress, Text("tc_macro_msg14").toStdString()),
        MenuItemEx::Make(MenuItemEx::kTopLevel, kInsRelease, Text("tc_macro_msg15").toStdString()),
        MenuItemEx::Make(MenuItemEx::kTopLevel, kInsDelay, Text("tc_macro_msg16").toStdString()),
    };
    for (std::uint16_t code = kMacroMouseFirst; code <= kMacroMouseLast; ++code) {
        if ((m_bMacroHasMsKey & MouseCodeBit(code)) == 0) continue;
        items.push_back(MenuItemEx::Make(MenuItemEx::kTopLevel, kInsMouseFirst + (code - kMacroMouseFirst),
                                         Text(kMouseCaptions[code - kMacroMouseFirst]).toStdString()));
    }
    ShowMenu(items, m_pInsert->mapToGlobal(QPoint(0, m_pInsert->height())), kInsertMenuWidth,
             [this](int cmd) { OnInsertCmd(cmd); });
}

void CMacroDlg::OnInsertCmd(int cmd) {
    if (!SelectedRecord()) return;
    std::vector<EventRow> add;
    if (cmd == kInsPress || cmd == kInsRelease) {
        const std::optional<int> vk = AskKey();
        if (!vk) return;
        add.push_back({cmd == kInsPress ? kRowPress : kRowRelease, static_cast<std::uint32_t>(*vk)});
    } else if (cmd == kInsDelay) {
        const std::optional<int> ms = AskDelay();
        if (!ms) return;
        add.push_back({kRowDelay, static_cast<std::uint32_t>(*ms)});
    } else {
        const int code = kMacroMouseFirst + (cmd - kInsMouseFirst);
        if (code < kMacroMouseFirst || code > kMacroMouseLast) return;
        const auto c = static_cast<std::uint32_t>(code);
        if (code == kWheelUp) {
            add.push_back({kRowRelease, c});
        } else if (code == kWheelDown) {
            add.push_back({kRowPress, c});
        } else {
            add.push_back({kRowPress, c});
            if (m_pAutoDelay && m_pAutoDelay->IsChecked()) add.push_back({kRowDelay, kClickDelayMs});
            add.push_back({kRowRelease, c});
        }
    }
    TreeItem* after = m_pEventTree->Selected();
    for (const EventRow& r : add) {
        TreeItem* item = AddEventRow(after, r);
        if (after) after = item;
    }
    MarkChanged(kMacroFlagEventsChanged);
}

// ---- change and delete ----------------------------------------------------------------

void CMacroDlg::ChangeEvent() {
    TreeItem* row = m_pEventTree->Selected();
    if (!row) {
        if (!Text("tc_macro_msg23").isEmpty()) Info(Text("tc_macro_msg23"));
        return;
    }
    if (row->rec.type == kRowDelay) {
        const std::optional<int> ms = AskDelay();
        if (!ms) return;
        const int limited = m_limits.nMaxDelay > 0 ? std::min(*ms, m_limits.nMaxDelay) : *ms;
        const EventRow changed{kRowDelay, static_cast<std::uint32_t>(limited)};
        m_pEventTree->SetItem(row, RowCaption(changed), changed.value);
    } else {
        const std::optional<int> vk = AskKey();
        if (!vk) return;
        const EventRow changed{row->rec.type, static_cast<std::uint32_t>(*vk)};
        m_pEventTree->SetItem(row, RowCaption(changed), changed.value);
    }
    MarkChanged(kMacroFlagEventsChanged);
}

void CMacroDlg::DeleteEvent(bool from_button) {
    TreeItem* row = m_pEventTree->Selected();
    if (!row) {
        if (from_button) Info(Text("tc_macro_msg23"));
        return;
    }
    m_pEventTree->DeleteItem(row);
    MarkChanged(kMacroFlagEventsChanged);
}

// ---- loop settings --------------------------------------------------------------------

void CMacroDlg::OnCountEdited() {
    const QString text = m_pCountEdit->text();
    if (text.isEmpty()) return;
    bool digits = true;
    for (const QChar c : text) digits = digits && c.isDigit() && c.unicode() < 0x80;
    const long long n = digits ? text.left(18).toLongLong() : 0;
    if (n <= 0) {
        m_pCountEdit->setText(QStringLiteral("1"));
    } else if (n > m_limits.nMaxLoop) {
        m_pCountEdit->setText(QString::number(m_limits.nMaxLoop));
    }
    MarkChanged(kMacroFlagSettingsChanged);
}

void CMacroDlg::OnLoopRadio(CPngBtn* radio) {
    if (RefuseWhileRecording()) {
        return;
    }
    for (CPngBtn* r : {m_pLoop2, m_pLoop3, m_pCountRadio}) {
        if (r) r->SetChecked(r == radio);
    }
    if (radio == m_pCountRadio) {
        m_pCountEdit->setText(QStringLiteral("1"));
        ShowCount(true);
    } else {
        m_pCountEdit->clear();
        ShowCount(false);
    }
    MarkChanged(kMacroFlagSettingsChanged);
}

void CMacroDlg::OnAutoDelay() {
    if (RefuseWhileRecording()) return;
    if (m_pAutoDelay) m_pAutoDelay->SetChecked(!m_pAutoDelay->IsChecked());
    MarkChanged(kMacroFlagSettingsChanged);
}

}  // namespace quobel
