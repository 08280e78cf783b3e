// CPU of the keyboard lighting preview: for each preview type at its fastest interval
// (speed 4, brightness 4), the keyboard picture runs on a shown window for a while and
// the process's CPU time is printed as a share of one core. Reactive types get a key
// press every 100 ms. Run by scripts/measure_kb_preview_cpu.sh.
//   kb_preview_cpu [SECONDS [TYPE]]

#include <sys/resource.h>

#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "ui/page_fixture.h"
#include "ui/pages/kb_color_dlg.h"
#include "ui/pages/led_kb_dlg.h"

namespace {

// Counts the picture's paint events: the frames actually drawn.
class PaintCounter final : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++count;
        return false;
    }
};

double CpuSeconds() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
           static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

void RunFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    using namespace quobel;
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
    double c0 = CpuSeconds();
    picture.StopPreview();
    RunFor(seconds * 1000);
    const double idle = (CpuSeconds() - c0) / seconds * 100;
    std::printf("%-6s %8s %8s %10s\n", "type", "ms", "frames/s", "cpu %core");
    std::printf("%-6s %8s %8s %10.2f\n", "idle", "-", "-", idle);

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
        paints.count = 0;
        QElapsedTimer wall;
        wall.start();
        c0 = CpuSeconds();
        RunFor(seconds * 1000);
        const double secs = static_cast<double>(wall.elapsed()) / 1000.0;
        const double cpu = (CpuSeconds() - c0) / secs * 100;
        std::printf("%-6d %8d %8.1f %10.2f\n", type, picture.PreviewTimerActive() ? picture.PreviewInterval() : 0,
                    paints.count / secs, cpu);
        std::fflush(stdout);
        presses.stop();
    }
    return 0;
}
