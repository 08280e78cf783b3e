#include "macro/new_id.h"

#include <chrono>
#include <ctime>

namespace quobel {

TimeOfDay LocalTimeOfDay() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm tm{};
    localtime_r(&t, &tm);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    return {tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<int>(ms % 1000)};
}

std::uint32_t IdGenerator::NewId() {
    for (;;) {
        sleeper_.Sleep(std::chrono::milliseconds(20));
        const std::uint32_t id = IdFromTime(clock_());
        if (id != 0) return id;
    }
}

IdGenerator& SystemIdGenerator() {
    static RealSleeper sleeper;
    static IdGenerator generator(sleeper, LocalTimeOfDay);
    return generator;
}

}  // namespace quobel
