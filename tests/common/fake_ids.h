#pragma once
// A clock that moves only when slept, and an id generator on it: no real waiting.

#include <chrono>
#include <cstdint>

#include "base/sleeper.h"
#include "macro/new_id.h"

namespace quobel::test {

// Local time that advances only by the pauses taken, starting at 10:20:30.000.
class FakeTime final : public Sleeper {
public:
    void Sleep(std::chrono::milliseconds ms) override { now_ms += ms.count(); }
    [[nodiscard]] TimeOfDay Now() const {
        const std::int64_t t = now_ms;
        return {static_cast<int>(t / 3600000 % 24), static_cast<int>(t / 60000 % 60),
                static_cast<int>(t / 1000 % 60), static_cast<int>(t % 1000)};
    }
    std::int64_t now_ms = ((10 * 60 + 20) * 60 + 30) * 1000LL;
};

// Ids 20 ms apart.
class FakeIds {
public:
    FakeIds() : ids(time, [this] { return time.Now(); }) {}
    FakeIds(const FakeIds&) = delete;
    FakeIds& operator=(const FakeIds&) = delete;
    FakeTime time;
    IdGenerator ids;
};

}  // namespace quobel::test
