#pragma once
// What the lighting preview CPU programs share: counting the frames a picture draws,
// the process's CPU time, and one measured run of the event loop. Used by
// kb_preview_cpu and ms_pad_preview_cpu (scripts/measure_kb_preview_cpu.sh).

#include <sys/resource.h>

#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>

namespace quobel::bench {

// Counts a picture's paint events: the frames actually drawn.
class PaintCounter final : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++count;
        return false;
    }
};

inline double CpuSeconds() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
           static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

inline void RunFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct CpuFigure {
    double framesPerSecond = 0;
    double cpuPercent = 0;  // of one core
};

// Runs the event loop for `seconds` and measures what it cost.
inline CpuFigure Measure(int seconds, PaintCounter& paints) {
    paints.count = 0;
    QElapsedTimer wall;
    wall.start();
    const double c0 = CpuSeconds();
    RunFor(seconds * 1000);
    const double secs = static_cast<double>(wall.elapsed()) / 1000.0;
    return {paints.count / secs, (CpuSeconds() - c0) / secs * 100};
}

inline void PrintHeader() { std::printf("%-10s %8s %8s %10s\n", "type", "ms", "frames/s", "cpu %core"); }

inline void PrintRow(const char* name, int interval, const CpuFigure& f) {
    std::printf("%-10s %8d %8.1f %10.2f\n", name, interval, f.framesPerSecond, f.cpuPercent);
    std::fflush(stdout);
}

}  // namespace quobel::bench
