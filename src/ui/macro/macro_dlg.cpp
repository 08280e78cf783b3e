#include "ui/macro/macro_dlg.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

#include <chrono>

#include "base/log.h"
#include "base/utf16.h"
#include "macro/macro_folder.h"
#include "ui/key_capture.h"
#include "ui/macro/macro_tree_view.h"
#include "ui/modals.h"
#include "ui/pages/page.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/tree_ctrl.h"

namespace quobel {

namespace {

constexpr std::uint32_t kBothChanged = kMacroFlagSettingsChanged | kMacroFlagEventsChanged;
constexpr int kListAlpha = 200;
constexpr int kCaptionAbove = 20;
constexpr int kCaptionWidth = 138;
constexpr int kSmallestText = 11;
constexpr int kRecordCaptionIndent = 32;  // right of the button's dot

std::int64_t SteadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::uint32_t Argb(Colour c, int alpha) {
    return static_cast<std::uint32_t>(alpha) << 24 | static_cast<std::uint32_t>(Red(c)) << 16 |
           static_cast<std::uint32_t>(Green(c)) << 8 | Blue(c);
}

QRect ToQRect(const Rect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }

// The rows of a tree in the order they are shown.
void ShownRows(const std::vector<std::unique_ptr<TreeItem>>& items, std::vector<TreeItem*>& out) {
    for (const auto& c : items) {
        out.push_back(c.get());
        if (c->rec.expanded) ShownRows(c->children, out);
    }
}

}  // namespace

CMacroDlg::CMacroDlg(PageHost& host, QWidget* parent, InUseCheck inUse, int thirdLoopMode)
    : CSkinDlg(host.Skin(), parent), m_host(host), m_inUse(std::move(inUse)), m_nThirdLoopMode(thirdLoopMode),
      m_macros(host.Macros()), m_limits(host.Cfg().limits), m_nMacroDir(host.Cfg().gVar.nMacroDir),
      m_bMacroHasMsKey(static_cast<std::uint32_t>(host.Cfg().gVar.bMacroHasMsKey)),
      m_bAutoSaveMacro(host.Cfg().gVar.bAutoSaveMacro != 0), m_bDebug(host.Cfg().nDebugLevel != 0),
      m_szMacroFolder(MacroFolderOf(host.Cfg().szDataPath)), m_clock(SteadyMs), m_ids(&SystemIdGenerator()) {
    setWindowTitle(kWindowTitle);
    setModal(true);
    BuildLayout();
    LoadTree();
}

CMacroDlg::~CMacroDlg() {
    if (!m_bFlushed) FlushAll();
}

QString CMacroDlg::Text(const char* id) const { return m_ctx.Text(id); }

int CMacroDlg::Info(const QString& text) { return m_host.Modal().Info(m_ctx, this, text); }

void CMacroDlg::ShowMenu(const std::vector<MenuItemEx>& items, QPoint at, int width, std::function<void(int)> on_cmd) {
    // The menu's own face; a caption that would be cut widens the menu.
    QFont face = DialogFont(13, 500);
    face.setFamilies(font().families());
    const QFontMetrics fm(face);
    for (const MenuItemEx& item : items) {
        width = std::max(width, fm.horizontalAdvance(QString::fromStdU16String(std::u16string(FieldView(item.szText)))) + 44);
    }
    CSkinMenu* menu = CSkinMenu::CreateMenuEx(this, MenuStyle::OfSkin(m_ctx, width), at, 0, items);
    if (menu) {
        connect(menu, &CSkinMenu::MenuCmd, this, [on_cmd = std::move(on_cmd)](int cmd, std::intptr_t) { on_cmd(cmd); });
    }
}

CPngBtn* CMacroDlg::MakeButton(QPoint at, const char* normal, const char* over, const char* pressed,
                               const QString& caption, bool check) {
    CPngBtn* b = CPngBtn::Create(m_ctx, this, m_imgBkg, at, normal, over, pressed,
                                 check ? CPngBtn::kCheck : CPngBtn::kPush, !check, check ? QString() : caption);
    return b;
}

void CMacroDlg::BuildLayout() {
    const GVar& g = *m_ctx.gvar;
    QImage bkg = LoadPicture(m_ctx.CommonPath("macro_nr.png"));
    if (bkg.isNull()) {
        bkg = QImage(700, 400, QImage::Format_ARGB32_Premultiplied);
        bkg.fill(QColor(20, 20, 20));
    }
    SetBackground(bkg, g.clrMaskMsg);
    CentreOverParent();
    m_imgUp = LoadPicture(m_ctx.CommonPath("UP_N.png"));
    m_imgDown = LoadPicture(m_ctx.CommonPath("DN_N.png"));
    m_imgDelay = LoadPicture(m_ctx.CommonPath("TM_N.png"));

    m_pExit = MakeButton({width() - 36, 10}, "exit_nr.png", "exit_ov.png", "exit_ov.png", {}, false);
    if (m_pExit) {
        connect(m_pExit, &QAbstractButton::clicked, this, [this] {
            if (!RefuseWhileRecording()) done(1);
        });
    }

    const auto make_tree = [&](int id, const Rect& r) {
        auto* tree = new CTreeCtrlEx(m_ctx, this);
        tree->Create(id, g.nListTrans ? bkg : QImage(), ToQRect(r), m_ctx.CommonPath("open.png"),
                     m_ctx.CommonPath("close.png"), m_ctx.font);
        tree->SetBkgColour(Argb(g.clrLstBoxBkg, kListAlpha));
        tree->SetSelColour(Argb(g.clrLstBoxItem, kListAlpha));
        tree->SetTextColours(g.clrLstBoxTxtNr, g.clrLstBoxTxtDn);
        tree->SetIgnoreSelectedClick(false);
        connect(tree, &CTreeCtrlEx::TreeItemClick, this, &CMacroDlg::OnTreeClick);
        connect(tree, &CTreeCtrlEx::TreeItemDblClk, this, &CMacroDlg::OnTreeDblClk);
        connect(tree, &CTreeCtrlEx::TreeItemRClick, this, &CMacroDlg::OnTreeRClick);
        connect(tree, &CTreeCtrlEx::TreeDeleteKey, this, &CMacroDlg::OnTreeDeleteKey);
        return tree;
    };
    m_pMacroTree = make_tree(kMacroTreeId, g.rcMacroList);
    m_pEventTree = make_tree(kEventTreeId, g.rcKeyList);
    m_view = std::make_unique<MacroTreeView>(*m_pMacroTree);

    const int x = g.nMacroOptX;
    const int t = g.rcKeyList.top;
    m_pRecord = MakeButton({x, t}, "recbtn_nr.png", "recbtn_nr.png", "recbtn_dn.png", Text("tc_macro_start"), false);
    if (m_pRecord) {
        m_pRecord->SetCheckStyle(CPngBtn::kCheck);  // shown pressed while recording
        m_pRecord->SetCaption(Text("tc_macro_start"), kRecordCaptionIndent);
        connect(m_pRecord, &QAbstractButton::clicked, this, &CMacroDlg::OnRecordButton);
    }
    m_pAutoDelay = MakeButton({x, t + 55}, "check_nr.png", "check_ov.png", "check_dn.png", {}, true);
    if (m_pAutoDelay) connect(m_pAutoDelay, &QAbstractButton::clicked, this, &CMacroDlg::OnAutoDelay);
    m_pLoop2 = MakeButton({x, t + 82}, "radio_nr.png", "radio_ov.png", "radio_dn.png", {}, true);
    if (m_nThirdLoopMode != 0) {
        m_pLoop3 = MakeButton({x, t + 110}, "radio_nr.png", "radio_ov.png", "radio_dn.png", {}, true);
    }
    const int a = m_nThirdLoopMode != 0 ? t + 110 : t + 82;
    m_pCountRadio = MakeButton({x, a + 28}, "radio_nr.png", "radio_ov.png", "radio_dn.png", {}, true);
    for (CPngBtn* radio : {m_pLoop2, m_pLoop3, m_pCountRadio}) {
        if (radio) connect(radio, &QAbstractButton::clicked, this, [this, radio] { OnLoopRadio(radio); });
    }

    m_pCountEdit = new QLineEdit(this);
    m_pCountEdit->setObjectName(QString::number(kCountEditId));
    m_pCountEdit->setGeometry(x + 16 + 8, a + 28 + (16 - 22) / 2, 80, 22);
    m_pCountEdit->setFont(m_ctx.font);
    m_pCountEdit->setMaxLength(9);
    m_pCountEdit->setStyleSheet(QStringLiteral(
        "QLineEdit{background:rgb(20,20,20);color:rgb(200,200,200);border:1px solid rgb(90,90,90);padding:0 4px;}"));
    m_pCountEdit->hide();
    connect(m_pCountEdit, &QLineEdit::textEdited, this, [this] { OnCountEdited(); });
    PlaceCountHint();

    m_pInsert = MakeButton({x, a + 113}, "combo2_nr.png", "combo2_ov.png", "combo2_dn.png", {}, false);
    if (m_pInsert) connect(m_pInsert, &QAbstractButton::clicked, this, &CMacroDlg::OnInsertButton);

    m_pSave = MakeButton({x, 328}, "btn_nr.png", "btn_ov.png", "btn_ov.png", Text("tc_macro_msg19"), false);
    if (m_pSave) {
        m_pSave->hide();
        connect(m_pSave, &QAbstractButton::clicked, this, [this] {
            if (!RefuseWhileRecording()) SaveSelected();
        });
    }

    if (g.bMacOperBtn) {
        const auto under = [&](const Rect& r, int index, const char* caption) {
            return MakeButton({r.left + index * (92 + 5), r.bottom + 10}, "button3_nr.png", "button3_ov.png",
                              "button3_dn.png", Text(caption), false);
        };
        m_pNew = under(g.rcMacroList, 0, "tc_macro_msg5");
        m_pDelete = under(g.rcMacroList, 1, "tc_macro_msg10");
        m_pChange = under(g.rcKeyList, 0, "tc_macro_msg7");
        m_pDeleteEvent = under(g.rcKeyList, 1, "tc_macro_msg10");
        const auto on = [this](CPngBtn* b, void (CMacroDlg::*fn)()) {
            if (b) {
                connect(b, &QAbstractButton::clicked, this, [this, fn] {
                    if (!RefuseWhileRecording()) (this->*fn)();
                });
            }
        };
        on(m_pNew, &CMacroDlg::NewMacro);
        on(m_pDelete, &CMacroDlg::DeleteSelected);
        on(m_pChange, &CMacroDlg::ChangeEvent);
        if (m_pDeleteEvent) {
            connect(m_pDeleteEvent, &QAbstractButton::clicked, this, [this] {
                if (!RefuseWhileRecording()) DeleteEvent(true);
            });
        }
    }
}

void CMacroDlg::LoadTree() {
    MacroScanOptions scan;
    scan.tree = m_view.get();
    scan.nMacroDir = m_nMacroDir;
    scan.mouse_key_mask = m_bMacroHasMsKey;
    (void)ScanMacroFolder(m_szMacroFolder, scan);
}

void CMacroDlg::paintEvent(QPaintEvent* event) {
    CSkinDlg::paintEvent(event);
    const GVar& g = *m_ctx.gvar;
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(m_ctx.font);
    p.setPen(ToQColor(g.clrTxt));
    const auto text = [&](const QRect& r, const QString& s) {
        if (s.isEmpty()) return;
        // A long text takes a smaller face before it is cut.
        QFont f = m_ctx.font;
        for (int px = f.pixelSize(); px > kSmallestText && QFontMetrics(f).horizontalAdvance(s) > r.width(); --px) {
            f.setPixelSize(px - 1);
        }
        p.setFont(f);
        p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   p.fontMetrics().elidedText(s, Qt::ElideRight, r.width()));
    };
    const auto above = [&](const QRect& r, const char* id) {
        text(QRect(r.left(), r.top() - kCaptionAbove, kCaptionWidth, kCaptionAbove - 2), Text(id));
    };
    above(ToQRect(g.rcMacroList), "tc_macro_list");
    above(ToQRect(g.rcKeyList), "tc_macro_key_list");
    const int right_limit = width() - 22;  // inside the option panel
    const auto beside = [&](const CPngBtn* b, const char* id) {
        if (!b) return;
        const QRect r = b->geometry();
        text(QRect(r.right() + 8, r.top() - 3, right_limit - r.right() - 8, r.height() + 6), Text(id));
    };
    beside(m_pAutoDelay, "tc_macro_auto");
    beside(m_pLoop2, "tc_macro_loop2");
    beside(m_pLoop3, "tc_macro_loop3");
    if (m_pCountEdit->isVisible()) {
        text(m_rcCountHint, QStringLiteral("1 ~ %1").arg(m_limits.nMaxLoop));
    } else {
        beside(m_pCountRadio, "tc_macro_loop1");
    }
    if (m_pInsert) above(m_pInsert->geometry(), "tc_macro_loop");
    if (!g.bMacOperBtn) {
        const QRect tree = ToQRect(g.rcMacroList);
        text(QRect(tree.left(), tree.bottom() + 1 + 10, 400, 20), Text("tc_macro_msg9"));
    }
}

void CMacroDlg::PlaceCountHint() {
    const QRect e = m_pCountEdit->geometry();
    m_rcCountHint = QRect(e.right() + 8, e.top(), width() - 10 - e.right() - 8, e.height());
}

// ---- selection --------------------------------------------------------------------

TreeItem* CMacroDlg::SelectedMacroRow() const {
    TreeItem* sel = m_pMacroTree->Selected();
    return IsMacroRow(sel) ? sel : nullptr;
}

MacroRecord* CMacroDlg::SelectedRecord() const {
    const TreeItem* row = SelectedMacroRow();
    return row ? m_macros.Find(row->rec.value) : nullptr;
}

void CMacroDlg::ClearEvents() { m_pEventTree->DeleteAll(); }

void CMacroDlg::OnTreeClick(int id, TreeItem* item) {
    if (m_bRecording) return;
    if (id != kMacroTreeId || item == nullptr) return;
    if (item == m_shownRow) return;
    LeaveShownMacro();
    if (IsGroupRow(item)) {
        ClearEvents();
        m_shownRow = nullptr;
        return;
    }
    ShowMacro(item);
}

bool CMacroDlg::SelectMacro(std::uint32_t macro_id) {
    for (TreeItem* row : MacroRowsIn(*m_pMacroTree, nullptr)) {
        if (row->rec.value != macro_id) continue;
        m_pMacroTree->SelectItem(row);
        OnTreeClick(kMacroTreeId, row);
        return true;
    }
    return false;
}

void CMacroDlg::ShowMacro(TreeItem* row) {
    m_pMacroTree->SelectItem(row);
    m_shownRow = row;
    ClearEvents();
    const MacroRecord* record = row ? m_macros.Find(row->rec.value) : nullptr;
    if (!record) return;
    if (m_pAutoDelay) m_pAutoDelay->SetChecked(record->bAutoDelay != 0);
    const auto check = [](CPngBtn* radio, bool on) {
        if (radio) radio->SetChecked(on);
    };
    check(m_pLoop2, record->nLoopMode == 2);
    check(m_pLoop3, record->nLoopMode == 1);
    check(m_pCountRadio, record->nLoopMode == 0);
    if (record->nLoopMode == 0) {
        m_pCountEdit->setText(QString::number(record->nLoopCount));
        ShowCount(true);
    } else {
        m_pCountEdit->clear();
        ShowCount(false);
    }
    SetRows(RowsOfRecord(*record, MaxEventsOf(m_limits)));
    if (m_pSave) m_pSave->hide();
}

void CMacroDlg::ShowCount(bool show) {
    m_pCountEdit->setVisible(show);
    update();
}

// ---- changes and saving -------------------------------------------------------------

void CMacroDlg::MarkChanged(std::uint32_t bits) {
    MacroRecord* record = SelectedRecord();
    if (!record) return;
    record->dwFlags |= bits;
    if (m_bAutoSaveMacro) {
        SaveSelected();
    } else if (m_pSave) {
        m_pSave->show();
    }
}

void CMacroDlg::StoreShown(MacroRecord& record) {
    if (record.dwFlags & kMacroFlagSettingsChanged) {
        record.bAutoDelay = m_pAutoDelay && m_pAutoDelay->IsChecked() ? 1 : 0;
        if (m_pLoop2 && m_pLoop2->IsChecked()) {
            record.nLoopMode = 2;
        } else if (m_pLoop3 && m_pLoop3->IsChecked()) {
            record.nLoopMode = 1;
        } else {
            record.nLoopMode = 0;
            const int count = m_pCountEdit->text().toInt();
            record.nLoopCount = static_cast<std::uint16_t>(count > 0 ? std::min(count, 0xFFFF) : 1);
        }
    }
    if (record.dwFlags & kMacroFlagEventsChanged) {
        std::vector<EventRow> rows = Rows();
        TidyEventRows(rows);
        SetRows(rows);
        if (BuildEvents(rows, MaxEventsOf(m_limits), record.events)) {
            LogPrint("Capture keycode=0");
            if (m_bDebug) m_ctx.Box("Warning", QStringLiteral("Capture keycode=0"));
        }
    }
}

void CMacroDlg::LeaveShownMacro() {
    // What the event tree shows exists nowhere else: keep it in the record before another
    // macro is shown, so the flush on close writes it.
    if (!m_shownRow) return;
    if (MacroRecord* record = m_macros.Find(m_shownRow->rec.value); record && (record->dwFlags & kBothChanged)) {
        StoreShown(*record);
    }
}

void CMacroDlg::SaveSelected() {
    TreeItem* row = SelectedMacroRow();
    MacroRecord* record = SelectedRecord();
    if (!row || !record) return;
    StoreShown(*record);
    (void)Flush(row);
    if (m_pSave) m_pSave->hide();
}

bool CMacroDlg::Flush(TreeItem* row) {
    return Flush_Dirty_Macro(m_view.get(), MacroTreeView::ItemOf(row), m_macros, m_szMacroFolder);
}

void CMacroDlg::FlushAll() {
    m_bFlushed = true;
    if (m_shownRow && m_shownRow == SelectedMacroRow()) LeaveShownMacro();
    for (TreeItem* row : MacroRowsIn(*m_pMacroTree, nullptr)) (void)Flush(row);
}

void CMacroDlg::done(int result) {
    if (m_bRecording) {
        // Closed from outside (the main window's Exit) while recording: the recording is kept.
        OnRecordButton();
    }
    FlushAll();
    CSkinDlg::done(result);
}

// ---- recording ----------------------------------------------------------------------

bool CMacroDlg::RefuseWhileRecording() {
    if (!m_bRecording) return false;
    Info(Text("tc_macro_msg17"));
    return true;
}

void CMacroDlg::OnRecordButton() {
    if (!m_bRecording) {
        if (!SelectedMacroRow()) {
            if (m_pRecord) m_pRecord->SetChecked(false);
            Info(Text("tc_macro_msg1"));
            return;
        }
        m_bRecording = true;
        if (m_pRecord) {
            m_pRecord->SetChecked(true);
            m_pRecord->SetCaption(Text("tc_macro_stop"), kRecordCaptionIndent);
            if (m_ctx.gvar->bBtnTips) m_pRecord->setToolTip(Text("tc_macro_stop"));
        }
        ClearEvents();
        if (m_pCountRadio && m_pCountRadio->IsChecked()) ShowCount(false);
        setFocus();
        return;
    }
    m_bRecording = false;
    if (m_pRecord) {
        m_pRecord->SetChecked(false);
        m_pRecord->SetCaption(Text("tc_macro_start"), kRecordCaptionIndent);
        if (m_ctx.gvar->bBtnTips) m_pRecord->setToolTip(Text("tc_macro_start"));
    }
    if (m_pCountRadio && m_pCountRadio->IsChecked()) ShowCount(true);
    MarkChanged(kBothChanged);
}

void CMacroDlg::RecordKey(int vk, bool release) {
    // A key without a code would end the event list where it stands; it is not recorded.
    if (vk <= 0) return;
    std::vector<EventRow> rows = Rows();
    const bool auto_delay = m_pAutoDelay && m_pAutoDelay->IsChecked();
    const int added = MacroRecorder::Step(vk, release, m_clock(), auto_delay, m_limits, rows);
    TreeItem* last = nullptr;
    for (std::size_t i = rows.size() - static_cast<std::size_t>(added); i < rows.size(); ++i) {
        last = AddEventRow(nullptr, rows[i]);
    }
    if (last) m_pEventTree->SelectItem(last);
}

bool CMacroDlg::HandleKey(QObject* target, QEvent* event) {
    const QEvent::Type type = event->type();
    if (m_bRecording) return TakeCaptureKey(event, [this](int vk, bool release) { RecordKey(vk, release); });
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
        if (type == QEvent::KeyRelease) {
            // Keys reach the focused widget: the tree they came to, else the macro tree.
            CTreeCtrlEx* tree = target == m_pEventTree ? m_pEventTree : m_pMacroTree;
            std::vector<TreeItem*> shown;
            ShownRows(tree->TopLevel(), shown);
            const auto at = std::find(shown.begin(), shown.end(), tree->Selected());
            TreeItem* next = nullptr;
            if (at != shown.end()) {
                if (key->key() == Qt::Key_Up && at != shown.begin()) next = *(at - 1);
                if (key->key() == Qt::Key_Down && at + 1 != shown.end()) next = *(at + 1);
            } else if (!shown.empty()) {
                next = shown.front();
            }
            if (next) {
                tree->SelectItem(next);
                OnTreeClick(tree->Id(), next);
            }
        }
        event->accept();
        return true;
    }
    return false;
}

bool CMacroDlg::eventFilter(QObject* watched, QEvent* event) {
    if (HandleKey(watched, event)) return true;
    return CSkinDlg::eventFilter(watched, event);
}

void CMacroDlg::keyPressEvent(QKeyEvent* event) {
    if (HandleKey(this, event)) return;
    CSkinDlg::keyPressEvent(event);
}

void CMacroDlg::keyReleaseEvent(QKeyEvent* event) {
    if (HandleKey(this, event)) return;
    CSkinDlg::keyReleaseEvent(event);
}

void CMacroDlg::OnTreeDeleteKey(int id) {
    if (m_bRecording) return;
    if (id == kMacroTreeId && m_pMacroTree->Selected()) DeleteSelected();
    if (id == kEventTreeId && m_pEventTree->Selected()) DeleteEvent(false);
}

void CMacroDlg::OnTreeDblClk(int id, TreeItem* item) {
    if (m_bRecording) return;
    if (id != kEventTreeId || !item) return;
    m_pEventTree->SelectItem(item);  // the row double-clicked, whatever was selected before
    ChangeEvent();
}

}  // namespace quobel
