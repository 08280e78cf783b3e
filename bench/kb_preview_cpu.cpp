// CPU of the keyboard lighting preview: for each preview type at its fastest interval
// (speed 4, brightness 4), the keyboard picture runs on a shown window for a while and
// the process's CPU time is printed as a share of one core. Reactive types get a key
// press every 100 ms. Run by scripts/measure_kb_preview_cpu.sh.
//   kb_preview_cpu [SECONDS [TYPE]]

#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "preview_cpu.h"
#include "ui/page_fixture.h"
#include "ui/pages/kb_color_dlg.h"
#include "ui/pages/led_kb_dlg.h"

int main(int argc, char** argv) {
    using namespace quobel;
    using namespace quobel::bench;
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const int only = argc > 2 ? std::atoi(argv[2]) : -1;  // one type only
    test::TestPageHost host;
    host.window.resize(1000, 650);
    CKBColorDlg picture(host, &host.window);
    CLedKbDlg_642Std page(host, &host.window);
    page.move(30, 40);
    page.SetPicture(&picture);
    host.window.show();
    page.RefreshFromProfile();
    PaintCounter paints;
    picture.installEventFilter(&paints);
    RunFor(500);

    // The idle window first: what the preview adds is the difference.
    picture.StopPreview();
    PrintHeader();
    PrintRow("idle", 0, Measure(seconds, paints));

    std::mt19937 keys(1);
    for (int type : {0, 1, 2, 3, 5, 7, 12, 13, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}) {
        if (only >= 0 && type != only) continue;
        lighting::KbPreviewParams p;
        p.speed = 4;
        p.bright = 4;
        p.colour = 0x00FFFF;
        p.multi = true;
        picture.StartPreview(type, p);
        QTimer presses;
        QObject::connect(&presses, &QTimer::timeout, [&] {
            const int slot = static_cast<int>(keys() % static_cast<unsigned>(picture.KeyCount()));
            picture.OnCaptureKey(picture.Setup().keys[static_cast<std::size_t>(slot)].vk, false);
        });
        if (picture.IsCapturing()) presses.start(100);
        const CpuFigure f = Measure(seconds, paints);
        PrintRow(std::to_string(type).c_str(), picture.PreviewTimerActive() ? picture.PreviewInterval() : 0, f);
        presses.stop();
    }
    return 0;
}
