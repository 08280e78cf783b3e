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

std::uint32_t IdGenerator::NewId(const IdInUse& in_use) {
    std::uint32_t id = NewId();
    // At most a few thousand records exist among 2^24 ids; the bound only keeps a
    // predicate that claims every id from hanging the caller.
    for (int draw = 0; in_use && in_use(id) && draw < 10000; ++draw) id = NewId();
    return id;
}

IdGenerator& SystemIdGenerator() {
    static RealSleeper sleeper;
    static IdGenerator generator(sleeper, LocalTimeOfDay);
    return generator;
}

}  // namespace quobel
