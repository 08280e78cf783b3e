// gallery: renders the skinned controls in each of their states, every message box
// mode, the notification, the progress window, the trees and the menu to PNG files.
//
//   gallery PROGRAM_DIR OUT_DIR
//
// Offscreen; the pictures are for a person to look at.

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QLineEdit>
#include <QPainter>

#include <cstdio>
#include <vector>

#include "config/gvar.h"
#include "config/text_table.h"
#include "ui/main/progress_dlg.h"
#include "ui/skin/combo_btn.h"
#include "ui/skin/msg_dlg.h"
#include "ui/skin/notify_dlg.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/png_slider.h"
#include "ui/skin/scroll_btn.h"
#include "ui/skin/skin_menu.h"
#include "ui/skin/tree_ctrl.h"

namespace quobel {
namespace {

QString g_out;

void Save(QWidget* w, const QString& name) {
    w->grab().toImage().save(g_out + name);
    std::printf("%s\n", qPrintable(g_out + name));
}

void Hover(QWidget* w) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(w, &enter);
}

// A board over a part of the main background.
class Board : public QWidget {
public:
    Board(const QImage& bkg, QSize size) : m_bkg(bkg.copy(QRect(QPoint(0, 0), size))) { resize(size); }
    const QImage& Bkg() const { return m_bkg; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, m_bkg);
        p.setPen(QColor(120, 128, 140));
        p.setFont(DialogFont(12, 600));
        for (const auto& [pt, text] : labels) p.drawText(pt, text);
    }

public:
    std::vector<std::pair<QPoint, QString>> labels;

private:
    QImage m_bkg;
};

enum class St { Nr, Ov, Dn, Checked, Off };

CPngBtn* Button(const SkinContext& ctx, Board& b, QPoint at, const QString& base, St st, const QString& caption,
                bool check = false, const QString& dn_suffix = "_dn.png") {
    CPngBtn* btn = CPngBtn::Create(ctx, &b, b.Bkg(), at, base + "_nr.png", base + "_ov.png", base + dn_suffix,
                                   check ? CPngBtn::kCheck : CPngBtn::kPush, false, caption);
    if (!btn) return nullptr;
    switch (st) {
    case St::Ov: Hover(btn); break;
    case St::Dn: btn->setDown(true); break;
    case St::Checked: btn->SetChecked(true); break;
    case St::Off: btn->setEnabled(false); break;
    case St::Nr: break;
    }
    return btn;
}

void Controls(const SkinContext& ctx) {
    const QImage main = LoadPicture(ctx.SkinPath("main_nr.png"));
    Board b(main, QSize(1000, 560));
    const std::vector<std::pair<St, QString>> states{
        {St::Nr, "normal"}, {St::Ov, "over"}, {St::Dn, "pressed"}, {St::Off, "disabled"}};
    int y = 56;
    for (std::size_t i = 0; i < states.size(); ++i) b.labels.push_back({QPoint(40 + 160 * int(i), 50), states[i].second});
    for (std::size_t i = 0; i < states.size(); ++i) {
        const int x = 40 + 160 * static_cast<int>(i);
        Button(ctx, b, {x, y}, "button3", states[i].first, "Apply");
        Button(ctx, b, {x, y + 36}, "btn", states[i].first, "Macro");
        CComboBtn* combo = CComboBtn::Create(ctx, &b, b.Bkg(), {x, y + 70}, "combo2_nr.png", "combo2_ov.png",
                                             "combo2_dn.png");
        combo->AddItem(0, "Breathing", 1);
        combo->SelectIndex(0);
        if (states[i].first == St::Ov) Hover(combo);
        if (states[i].first == St::Dn) combo->setDown(true);
        if (states[i].first == St::Off) combo->setEnabled(false);
        Button(ctx, b, {x, y + 104}, "header", states[i].first == St::Dn ? St::Checked : states[i].first,
               "DPI", false, "_ov.png")
            ->SetCaption("Lighting", 12);
    }
    y = 210;
    b.labels.push_back({QPoint(40, y - 6), "check, radio: off / over / on / on disabled"});
    const std::vector<St> checks{St::Nr, St::Ov, St::Checked, St::Off};
    for (std::size_t i = 0; i < checks.size(); ++i) {
        const int x = 40 + 60 * static_cast<int>(i);
        CPngBtn* c = Button(ctx, b, {x, y}, "check", checks[i], {}, true);
        CPngBtn* r = Button(ctx, b, {x + 28, y + 1}, "radio", checks[i], {}, true);
        if (checks[i] == St::Off) {
            c->SetChecked(true);
            r->SetChecked(true);
        }
    }
    Button(ctx, b, {420, y - 4}, "combo", St::Nr, "Profile 1")->SetCaption("Profile 1", 10);
    int x = 40;
    y = 250;
    b.labels.push_back({QPoint(40, y - 6), "small buttons: normal row, over row"});
    for (const char* base : {"add", "del", "dot", "lbtn", "rbtn", "up", "down", "cow", "acow", "exit", "min"}) {
        CPngBtn* n = Button(ctx, b, {x, y}, base, St::Nr, {});
        Button(ctx, b, {x, y + 30}, base, St::Ov, {});
        x += (n ? n->width() : 20) + 10;
    }
    Button(ctx, b, {40, y + 64}, "recbtn", St::Nr, "Start record");
    Button(ctx, b, {200, y + 64}, "recbtn", St::Dn, "Stop record");
    // Button list captions with their badges, as the mouse button page shows them.
    for (int i = 0; i < 3; ++i) {
        CPngBtn* cap = Button(ctx, b, {760, 56 + i * 34}, "button2", i == 1 ? St::Ov : i == 2 ? St::Checked : St::Nr,
                              i == 0 ? "Left click" : i == 1 ? "Right click" : "Ctrl + Shift + F5");
        cap->SetCaption(cap->Caption(), 12);
        auto* badge = new CPngBtn(ctx, &b);
        const QImage num = LoadPicture(ctx.SkinPath(QStringLiteral("mouse/number%1.png").arg(i + 1)));
        badge->SetPictures(num, num, num);
        badge->setGeometry(QRect(QPoint(726, 56 + i * 34 - 1), num.size()));
        badge->SetBackground(b.Bkg());
    }
    // Sliders at three positions, and the spin control.
    for (int i = 0; i < 3; ++i) {
        auto* bar = new CPngSliderBar(ctx, &b);
        bar->Create("bar.png", "bar_ov.png", "slider2.png", "bar_dot.png", 4 + i, 148, {760, 200 + i * 36});
        bar->SetBackground(b.Bkg());
        bar->SetPos(i + 2, false);
        b.labels.push_back({QPoint(944, 214 + i * 36), QString::number(i + 2)});
    }
    auto* spin = new CScrollBtn(ctx, &b);
    spin->move(760, 320);
    spin->SetBackground(b.Bkg());
    spin->SetRange(1, 20);
    spin->SetValue(12);
    // Keyboard picture over its area, with a few lit keys.
    const QImage kb = LoadPicture(ctx.CommonPath("keyimg.png"));
    b.labels.push_back({QPoint(40, 372), "keyimg.png"});
    auto* kbw = new Board(kb.scaled(kb.size().boundedTo(QSize(660, 180)), Qt::KeepAspectRatio, Qt::SmoothTransformation),
                          kb.size().boundedTo(QSize(660, 180)));
    kbw->setParent(&b);
    kbw->move(40, 378);
    Save(&b, "controls.png");
}

void Windows(const SkinContext& ctx) {
    struct M {
        CMsgDlg::Mode mode;
        const char* file;
        const char* text;
    };
    for (const M& m : {M{CMsgDlg::kInfo, "msg_info.png", "Settings were written to the mouse."},
                       M{CMsgDlg::kQuestion, "msg_question.png",
                         "Delete the profile \"Shooter\"? This cannot be undone and the profile's macros stay."},
                       M{CMsgDlg::kText, "msg_text.png", "Name of the new macro"},
                       M{CMsgDlg::kNumber, "msg_number.png", "Delay in milliseconds"},
                       M{CMsgDlg::kCapture, "msg_capture.png", "Press the key combination"}}) {
        CMsgDlg dlg(ctx, nullptr, m.mode, m.text);
        dlg.SetCaption("Quobel");
        dlg.SetCaptureOptions(false, m.mode == CMsgDlg::kCapture);
        dlg.Init();
        if (m.mode == CMsgDlg::kText) dlg.Edit()->setText("Reload burst");
        if (m.mode == CMsgDlg::kNumber) dlg.Edit()->setText("250");
        if (m.mode == CMsgDlg::kCapture) {
            dlg.OnCaptureKey('K', false);
            dlg.ModifierBox(1)->SetChecked(true);
        }
        dlg.OkButton()->SetCaption("OK");
        dlg.CancelButton()->SetCaption("Cancel");
        Hover(dlg.OkButton());
        dlg.show();
        Save(&dlg, m.file);
    }
    CNotifyDlg notify(ctx, nullptr);
    notify.Init();
    notify.Notify("DPI", "1600", "", "Mode 1");
    Save(&notify, "notify_one_value.png");
    notify.Notify("DPI", "1600", "3200", "Mode 2");
    Save(&notify, "notify_two_values.png");

    CProgressDlg progress(ctx, nullptr);
    progress.SetPictures(ctx.CommonPath("progress_nr.png"), ctx.CommonPath("progress_ov.png"));
    progress.SetBarRect(QRect(QPoint(45, 101), QPoint(486, 123)));
    progress.SetCaption("Updating settings, please wait...", QRect(15, 12, 440, 20));
    progress.SetRange(0, 100);
    progress.Init();
    progress.OnSetPos(60);
    progress.show();
    Save(&progress, "progress.png");
}

void Menus(const SkinContext& ctx, QWidget* owner) {
    MenuStyle style;
    style.pictures = MenuPictures::InFolder(ctx.SkinFolder());
    style.nWidth = 178;
    const std::vector<MenuItemEx> items{
        MenuItemEx::Make(255, 1, "Left click"), MenuItemEx::Make(255, 2, "Right click"),
        MenuItemEx::Make(255, 0, "Media"),      MenuItemEx::Make(255, 4, "DPI up"),
        MenuItemEx::Make(255, 5, "Fire key"),   MenuItemEx::Make(2, 31, "Play / Pause"),
        MenuItemEx::Make(2, 32, "Next track"),  MenuItemEx::Make(2, 33, "Volume up")};
    CSkinMenu* menu = CSkinMenu::CreateMenuEx(owner, style, QPoint(100, 100), 0, items);
    menu->Activate(2);
    QMouseEvent move(QEvent::MouseMove, QPointF(menu->RowRect(2).center()), menu->mapToGlobal(QPointF(menu->RowRect(2).center())),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(menu, &move);
    CSkinMenu* sub = menu->SubMenu();
    QMouseEvent over(QEvent::MouseMove, QPointF(sub->RowRect(1).center()), sub->mapToGlobal(QPointF(sub->RowRect(1).center())),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(sub, &over);
    const QImage a = menu->grab().toImage();
    const QImage b = sub->grab().toImage();
    QImage both(a.width() + b.width() + 40, std::max(a.height(), b.height() + 60) + 40, QImage::Format_ARGB32);
    both.fill(QColor(15, 17, 21));
    QPainter p(&both);
    p.drawImage(20, 20, a);
    p.drawImage(20 + a.width() - 2, 20 + menu->RowRect(2).top() - 1, b);
    p.end();
    both.save(g_out + "menu.png");
    std::printf("%s\n", qPrintable(g_out + "menu.png"));
    CSkinMenu::DestroyMenuEx();
}

// The device list as the main window shows it, with the mouse and keyboard rows.
void DeviceList(const SkinContext& ctx, Board& b, CTreeCtrlEx& devices, const QRect& at, const QString& open,
                const QString& close) {
    devices.Create(1, b.Bkg(), at, open, close, DialogFont(15, 600));
    devices.SetRowHeight(26);
    devices.SetIconBox(20);
    devices.SetBkgColour(0xC8000000);
    devices.SetSelColour(0x00000000);
    devices.SetTextColours(ctx.gvar->clrLstBoxTxtNr, Rgb(67, 156, 200));
    devices.AddItem(nullptr, false, true, ctx.SkinPath("ms.png"), "Mouse", 1, 0, 5);
    devices.AddItem(nullptr, false, false, ctx.SkinPath("kb.png"), "Keyboard", 2, 1, 5);
}

void Trees(const SkinContext& ctx) {
    const QImage main = LoadPicture(ctx.SkinPath("main_nr.png"));
    Board b(main, QSize(640, 360));
    CTreeCtrlEx devices(ctx, &b);
    DeviceList(ctx, b, devices, QRect(30, 40, 180, 80), ctx.CommonPath("open.png"), ctx.CommonPath("close.png"));
    devices.AddItem(nullptr, false, false, ctx.SkinPath("pad.png"), "Pad", 3, 2, 5);

    CTreeCtrlEx macros(ctx, &b);
    macros.Create(2, b.Bkg(), QRect(230, 40, 190, 290), ctx.CommonPath("open.png"), ctx.CommonPath("close.png"),
                  DialogFont(15, 600));
    macros.SetBkgColour(0xC8101216);
    macros.SetSelColour(0xC82A4A5C);
    macros.SetHoverHighlight(true);
    macros.SetHoverColour(0x60FFFFFF);
    macros.SetTextColours(ctx.gvar->clrLstBoxTxtNr, Rgb(255, 255, 255));
    TreeItem* g = macros.AddItem(nullptr, true, false, {}, "Shooters", 0, 0, 3);
    macros.AddItem(g, false, false, {}, "Burst fire", 1, 0, 3);
    TreeItem* sel = macros.AddItem(g, false, true, {}, "Reload and switch weapon quickly", 2, 0, 3);
    TreeItem* g2 = macros.AddItem(g, true, false, {}, "Snipers", 0, 0, 3);
    macros.AddItem(g2, false, false, {}, "Hold breath", 3, 0, 3);
    macros.ToggleExpand(g2);
    macros.AddItem(nullptr, true, false, {}, "Office", 0, 0, 3);
    macros.AddItem(nullptr, false, false, {}, "Copy line", 4, 0, 3);
    (void)sel;
    QMouseEvent move(QEvent::MouseMove, QPointF(100, 30), QPointF(100, 30), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&macros, &move);

    CTreeCtrlEx events(ctx, &b);
    events.Create(3, b.Bkg(), QRect(440, 40, 170, 200), {}, {}, DialogFont(15, 600));
    events.SetBkgColour(0xC8101216);
    events.SetSelColour(0xC82A4A5C);
    events.SetTextColours(ctx.gvar->clrLstBoxTxtNr, Rgb(255, 255, 255));
    const char* steps[][2] = {{"DN_N.png", "R"}, {"TM_N.png", "35 ms"}, {"UP_N.png", "R"}, {"DN_N.png", "Left Ctrl"},
                              {"TM_N.png", "20 ms"}, {"UP_N.png", "Left Ctrl"}};
    for (const auto& s : steps) events.AddItem(nullptr, false, false, ctx.CommonPath(s[0]), s[1], 0, 0, 5);
    events.SelectItem(events.TopLevel()[1].get());
    b.labels.push_back({QPoint(30, 32), "device list"});
    b.labels.push_back({QPoint(230, 32), "macro tree (hover on row 2)"});
    b.labels.push_back({QPoint(440, 32), "event list"});
    Save(&b, "trees.png");

    Board g_b(LoadPicture(ctx.SkinPath("chiji/chiji_nr.png")), QSize(530, 620));
    CTreeCtrlImageEx guns(ctx, &g_b);
    guns.Create(4, g_b.Bkg(), QRect(37, 145, 157, 440), {}, {}, DialogFont(15, 600));
    guns.SetRowHeight(62);
    guns.SetBkgColour(0x00000000);
    guns.SetSelColour(0xFF439CC8);
    guns.SetFrameColour(0);
    for (const char* n : {"gun-m4", "gun-akm", "gun-m16", "gun-p9", "gun-scar-l", "gun-TOMPSON", "gun-UZI"}) {
        guns.AddImageItem(nullptr, LoadPicture(ctx.SkinPath(QStringLiteral("chiji/%1.png").arg(n))),
                          LoadPicture(ctx.SkinPath(QStringLiteral("chiji/%1-ov.png").arg(n))), {}, 0);
    }
    guns.SelectItem(guns.TopLevel()[1].get());
    Save(&g_b, "guns.png");
}

// The main window as the pages will put it together: a layout check of the pictures.
void MainMock(const SkinContext& ctx) {
    const QImage main = LoadPicture(ctx.SkinPath("main_nr.png"));
    Board b(main, main.size());
    const QImage mouse = LoadPicture(ctx.CommonPath("mouse/mouse_nr.png"));
    auto* m = new Board(mouse, mouse.size());
    m->setParent(&b);
    m->move(340 + (390 - mouse.width()) / 2, 63 + 40);
    Button(ctx, b, {960, 12}, "min", St::Nr, {});
    Button(ctx, b, {982, 12}, "exit", St::Nr, {});
    for (int i = 0; i < 8; ++i) {
        CPngBtn* cap = Button(ctx, b, {75, 48 + i * 33}, "button2", i == 2 ? St::Checked : St::Nr,
                              QStringList{"Left click", "Right click", "Middle click", "Forward", "Back", "DPI up",
                                          "DPI down", "Fire key"}[i]);
        cap->SetCaption(cap->Caption(), 12);
        auto* badge = new CPngBtn(ctx, &b);
        const QImage num = LoadPicture(ctx.SkinPath(QStringLiteral("mouse/number%1.png").arg(i + 1)));
        badge->SetPictures(num, num, num);
        badge->setGeometry(QRect(QPoint(41, 47 + i * 33), num.size()));
        badge->SetBackground(b.Bkg());
    }
    CComboBtn* profile = CComboBtn::Create(ctx, &b, b.Bkg(), {42, 410}, "combo_nr.png", "combo_ov.png", "combo_dn.png");
    profile->AddItem(0, "Profile 1", 1);
    profile->SelectIndex(0);
    b.labels.push_back({QPoint(42, 400), "PROFILE"});
    Button(ctx, b, {42, 445}, "add", St::Nr, {});
    Button(ctx, b, {112, 445}, "del", St::Nr, {});
    Button(ctx, b, {182, 445}, "dot", St::Nr, {});
    CTreeCtrlEx devices(ctx, &b);
    DeviceList(ctx, b, devices, QRect(42, 500, 180, 80), {}, {});
    b.labels.push_back({QPoint(44, 492), "DEVICES"});
    for (int i = 0; i < 4; ++i) {
        Button(ctx, b, {743, 41 + i * 30 + (i > 0 ? 150 : 0)}, "header", i == 0 ? St::Checked : St::Nr,
               QStringList{"DPI", "Lighting", "System", "Report rate"}[i], false, "_ov.png")
            ->SetCaption(QStringList{"DPI", "Lighting", "System", "Report rate"}[i], 12);
    }
    for (int i = 0; i < 4; ++i) {
        auto* row = new Board(LoadPicture(ctx.SkinPath(i == 1 ? "mouse/dpigrid_dn.png" : "mouse/dpigrid_nr.png")),
                              QSize(230, 28));
        row->setParent(&b);
        row->move(750, 74 + i * 32);
        row->labels.push_back({QPoint(12, 19), QStringLiteral("Level %1      %2 DPI").arg(i + 1).arg(800 * (i + 1))});
    }
    Button(ctx, b, {795, 600}, "button3", St::Nr, "Restore");
    Button(ctx, b, {895, 600}, "button3", St::Ov, "Apply");
    Button(ctx, b, {120, 600}, "btn", St::Nr, "Macro");
    Save(&b, "main_mock.png");
}

}  // namespace
}  // namespace quobel

int main(int argc, char** argv) {
    using namespace quobel;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: gallery PROGRAM_DIR OUT_DIR\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[2]);
    if (!g_out.endsWith('/')) g_out += '/';
    QDir().mkpath(g_out);
    GVar gvar;
    gvar.clrTxt = gvar.clrBtnTxtNr = gvar.clrMenuTxtNr = gvar.clrLstBoxTxtNr = Rgb(200, 200, 200);
    gvar.clrBtnTxtOv = gvar.clrMenuTxtOv = Rgb(255, 255, 255);
    gvar.clrBtnTxtDn = gvar.clrMenuTxtDn = Rgb(67, 156, 200);
    TextTable texts;
    SkinContext ctx;
    ctx.gvar = &gvar;
    ctx.texts = &texts;
    ctx.szAppPath = std::string(argv[1]) + "/";
    ctx.font = DialogFont(14, 600);
    Controls(ctx);
    Windows(ctx);
    QWidget owner;
    owner.resize(10, 10);
    owner.show();
    Menus(ctx, &owner);
    Trees(ctx);
    MainMock(ctx);
    return 0;
}
