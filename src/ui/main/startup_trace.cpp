#include "ui/main/startup_trace.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>

namespace quobel {

void StartupMark(const char* step) {
    static const bool on = std::getenv("QUOBEL_STARTUP_TRACE") != nullptr;
    if (!on) return;
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const long long us = static_cast<long long>(ts.tv_sec) * 1000000LL + ts.tv_nsec / 1000;
    std::fprintf(stderr, "quobel-startup %s %lld\n", step, us);
    std::fflush(stderr);
}

}  // namespace quobel
