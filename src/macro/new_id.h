#pragma once
// NewId: the time-based 32-bit identifier of profiles and macros.
//
// An identifier is made from the local time of day after a 20 ms pause, so two made
// one after the other differ. The clock and the pause are injectable so that tests
// need not wait.

#include <cstdint>
#include <functional>
#include <utility>

#include "base/sleeper.h"

namespace quobel {

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// ((hour & 0xF) << 12 | minute << 6 | second), masked to 16 bits, << 8 | (ms & 0xFF).
constexpr std::uint32_t IdFromTime(const TimeOfDay& t) {
    const auto h = static_cast<std::uint32_t>(t.hour) & 0xF;
    const auto m = static_cast<std::uint32_t>(t.minute);
    const auto s = static_cast<std::uint32_t>(t.second);
    const auto ms = static_cast<std::uint32_t>(t.millisecond) & 0xFF;
    return (((h << 12) | (m << 6) | s) & 0xFFFF) << 8 | ms;
}

// True for an id some record already has.
using IdInUse = std::function<bool(std::uint32_t)>;

// The local time of day of the system clock.
TimeOfDay LocalTimeOfDay();

class IdGenerator {
public:
    using Clock = std::function<TimeOfDay()>;
    IdGenerator(Sleeper& sleeper, Clock clock) : sleeper_(sleeper), clock_(std::move(clock)) {}

    // Waits 20 ms and makes an identifier from the time. Never 0: a record with id 0 is
    // invalid and would be dropped, so the one instant that gives 0 (00:00:00.000 and
    // its repeats) waits once more.
    std::uint32_t NewId();
    // NewId, drawn again (after another pause) while the id is in use: the time of day
    // repeats every day, and the millisecond byte within a second.
    std::uint32_t NewId(const IdInUse& in_use);

private:
    Sleeper& sleeper_;
    Clock clock_;
};

// The process-wide generator: real 20 ms pauses and the local clock.
IdGenerator& SystemIdGenerator();

}  // namespace quobel
