// CPU of the mouse and pad lighting previews: every effect with a preview at its
// fastest speed (3) and full brightness runs on its shown picture for a while, and the
// process's CPU time is printed as a share of one core. Run by
// scripts/measure_kb_preview_cpu.sh, beside the keyboard's figures.
//   ms_pad_preview_cpu [SECONDS [ms|pad [EFFECT]]]

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "lighting/ms_preview.h"
#include "lighting/pad_preview.h"
#include "preview_cpu.h"
#include "ui/page_fixture.h"
#include "ui/pages/key_mark_dlg.h"
#include "ui/pages/pad_mark_dlg.h"

int main(int argc, char** argv) {
    using namespace quobel;
    using namespace quobel::bench;
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const std::string only_kind = argc > 2 ? argv[2] : "";  // one picture only
    const int only = argc > 3 ? std::atoi(argv[3]) : -1;    // one effect only
    const auto wanted = [&](const char* kind, int effect) {
        return (only_kind.empty() || only_kind == kind) && (only < 0 || only == effect);
    };
    test::TestPageHost host;
    host.window.resize(1000, 650);
    CKeyMarkDlg mouse(host, &host.window);
    CPadMarkDlg pad(host, &host.window);
    mouse.move(20, 20);
    pad.move(420, 20);
    host.window.show();
    mouse.RefreshFromProfile();
    pad.RefreshFromProfile();
    PaintCounter paints;
    mouse.installEventFilter(&paints);
    pad.installEventFilter(&paints);
    RunFor(500);

    PrintHeader();
    PrintRow("idle", 0, Measure(seconds, paints));

    const std::vector<Colour> seven = {0x0000FF, 0xFF0000, 0x00FF00, 0xFF0080, 0x03C6FA, 0x6A03FA, 0xFFFFFF};
    for (int effect = 0; effect <= 13; ++effect) {
        if (!wanted("ms", effect)) continue;
        lighting::MsPreviewParams p;
        p.effect = effect;
        p.speed = 3;
        p.bright = 0x100;
        std::copy(seven.begin(), seven.end(), p.swatches.begin());
        p.checked = seven;
        std::unique_ptr<lighting::MsPreview> preview = lighting::MakeMsPreview(p, host.config.gVar.MsDev);
        if (!preview) continue;
        const int interval = preview->Interval();
        mouse.SetPreview(std::move(preview));
        PrintRow(("ms " + std::to_string(effect)).c_str(), interval, Measure(seconds, paints));
    }
    mouse.SetPreview(nullptr);

    lighting::DefaultRandom random;
    for (int effect = 0; effect < 11; ++effect) {
        if (!wanted("pad", effect)) continue;
        lighting::PadPreviewParams p;
        p.effect = effect;
        p.speed = 3;
        p.bright = 0x100;
        p.checked = seven;
        std::unique_ptr<lighting::PadPreview> preview =
            lighting::MakePadPreview(p, static_cast<int>(pad.Ring().cells.size()), random);
        if (!preview) continue;
        const int interval = preview->Interval();
        pad.SetPreview(std::move(preview));
        PrintRow(("pad " + std::to_string(effect)).c_str(), interval, Measure(seconds, paints));
    }
    return 0;
}
