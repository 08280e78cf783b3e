#pragma once
// Every pause of the device code (retries, pauses between reports) goes through a
// Sleeper, so tests and simulated runs take no wall time while the real path keeps
// every pause.

#include <chrono>
#include <cstdint>
#include <vector>

namespace quobel {

class Sleeper {
public:
    virtual ~Sleeper() = default;
    virtual void Sleep(std::chrono::milliseconds ms) = 0;
};

// Really sleeps: the path used with devices.
class RealSleeper final : public Sleeper {
public:
    void Sleep(std::chrono::milliseconds ms) override;
};

// Records the pauses and returns at once.
class RecordingSleeper final : public Sleeper {
public:
    void Sleep(std::chrono::milliseconds ms) override { pauses.push_back(ms); }
    [[nodiscard]] std::int64_t TotalMs() const {
        std::int64_t sum = 0;
        for (auto p : pauses) sum += p.count();
        return sum;
    }
    std::vector<std::chrono::milliseconds> pauses;
};

}  // namespace quobel
