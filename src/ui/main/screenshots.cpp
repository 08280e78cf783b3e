// The screenshot list of `quobel --simulate --screenshot DIR`.
//
// To add a state: write a function `QWidget* Name(Shot& s)` in the block of your area
// below that puts s.wnd into the state (click its real controls with QTest, or call the
// operations a click would) or builds your dialog into s.owned (initialised, not
// exec'ed), and returns the widget to photograph; then add one line
// `{"your-name", Name},` to kStates. The window is fresh for every state, shown
// offscreen over the simulated devices and a temporary data folder; it is destroyed
// after the picture. Keep names lower-case with '-', prefixed by your area
// ("dpi-...", "macro-...").

#include "ui/main/screenshots.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

#include "ui/main/progress_dlg.h"
#include "ui/main/quobel_dlg.h"
#include "ui/pages/kb_color_dlg.h"
#include "ui/pages/led_kb_dlg.h"
#include "ui/skin/msg_dlg.h"
#include "ui/skin/tree_ctrl.h"

namespace quobel {

namespace {

QWidget* SelectKind(Shot& s, DeviceKind kind) {
    s.wnd.ShowKind(kind);
    if (CTreeCtrlEx* list = s.wnd.DeviceList()) {
        if (TreeItem* item = list->FindTopLevel(static_cast<std::uint32_t>(kind))) list->SelectItem(item);
    }
    return &s.wnd;
}

// ---- main window ----
QWidget* MainMouse(Shot& s) { return SelectKind(s, DeviceKind::Mouse); }
QWidget* MainKeyboard(Shot& s) { return SelectKind(s, DeviceKind::Keyboard); }
QWidget* MainPad(Shot& s) { return SelectKind(s, DeviceKind::Pad); }

QWidget* Progress(Shot& s) {
    const SkinContext& ctx = s.wnd.Skin();
    auto dlg = std::make_unique<CProgressDlg>(ctx, &s.wnd);
    dlg->SetPictures(QString::fromStdString(ctx.szAppPath) + "skins/progress_nr.png",
                     QString::fromStdString(ctx.szAppPath) + "skins/progress_ov.png");
    dlg->SetBarRect(QRect(QPoint(45, 101), QPoint(486, 123)));
    dlg->SetCaption(ctx.Text("tc_msg12"), QRect(QPoint(15, 12), QPoint(455, 32)));
    dlg->SetRange(0, 100);
    (void)dlg->Init();
    dlg->OnSetPos(60);
    QWidget* w = dlg.get();
    s.owned = std::move(dlg);
    return w;
}

QWidget* MsgNoDevice(Shot& s) {
    auto dlg = std::make_unique<CMsgDlg>(s.wnd.Skin(), &s.wnd, CMsgDlg::kInfo, s.wnd.Skin().Text("tc_msg13"));
    (void)dlg->Init();
    QWidget* w = dlg.get();
    s.owned = std::move(dlg);
    return w;
}

// ---- pages: add your states here ----

// Keyboard lighting: the keyboard shown with an effect chosen as in the effect list.
CLedKbDlg_642Std* KbLighting(Shot& s) {
    SelectKind(s, DeviceKind::Keyboard);
    return s.wnd.KeyboardLight();
}
QWidget* KbEffect(Shot& s) {
    CLedKbDlg_642Std* page = KbLighting(s);
    if (!page || !page->ChooseEffectOfCode(12)) return nullptr;
    s.wnd.Keyboard()->AdvancePreview(9);
    return &s.wnd;
}
QWidget* KbPerKey(Shot& s) {
    CLedKbDlg_642Std* page = KbLighting(s);
    return page && page->ChooseEffect(page->PerKeyEntry()) ? &s.wnd : nullptr;
}
// The preview of a type after 30 frames; the ripple from a press of G.
template <int kType>
QWidget* KbPreview(Shot& s) {
    CLedKbDlg_642Std* page = KbLighting(s);
    if (!page || !page->ChooseEffectOfCode(kType)) return nullptr;
    if (s.wnd.Keyboard()->IsCapturing()) s.wnd.Keyboard()->OnCaptureKey(0x47, false);
    s.wnd.Keyboard()->AdvancePreview(29);
    return &s.wnd;
}

constexpr ScreenshotState kStates[] = {
    {"main-mouse", MainMouse},
    {"main-keyboard", MainKeyboard},
    {"main-pad", MainPad},
    {"progress", Progress},
    {"msg-nodevice", MsgNoDevice},
    {"kb-lighting", KbEffect},
    {"kb-perkey", KbPerKey},
    {"kb-preview-2", KbPreview<2>},
    {"kb-preview-7", KbPreview<7>},
    {"kb-preview-13", KbPreview<13>},
    {"kb-preview-20", KbPreview<20>},
};

}  // namespace

std::span<const ScreenshotState> ScreenshotStates() { return kStates; }

int RenderScreenshots(const QString& dir, const std::function<std::unique_ptr<CQuobelDlg>()>& make_window) {
    QDir().mkpath(dir);
    int failures = 0;
    for (const ScreenshotState& st : kStates) {
        std::unique_ptr<CQuobelDlg> wnd = make_window();
        if (!wnd) {
            std::fprintf(stderr, "%s: the window did not start\n", st.name);
            ++failures;
            continue;
        }
        wnd->show();
        Shot shot{*wnd, nullptr};
        QWidget* target = st.setup(shot);
        if (target && target != wnd.get()) target->show();
        const QString path = QDir(dir).filePath(QString::fromLatin1(st.name) + ".png");
        if (!target || !target->grab().save(path)) {
            std::fprintf(stderr, "%s: no picture\n", st.name);
            ++failures;
            continue;
        }
        std::printf("%s\n", qPrintable(path));
        shot.owned.reset();
    }
    return failures;
}

}  // namespace quobel
