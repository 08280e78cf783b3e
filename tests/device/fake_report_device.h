#pragma once
// A stateful device for the encoder tests: keeps the last block written per report,
// answers reads from what it holds, records every exchange in order, and can be
// unplugged or told to fail its next exchanges.

#include <algorithm>
#include <cstdint>
#include <map>
#include <span>
#include <vector>

#include "device/report_io.h"

namespace quobel::test {

struct Exchange {
    bool set = false;
    std::uint8_t id = 0;
    std::vector<std::uint8_t> data;
};

class FakeReportDevice : public ReportIo {
public:
    bool present = true;
    int fail_next = 0;        // the next n exchanges fail
    std::uint8_t fail_id = 0; // when non-zero, only exchanges of this report fail
    bool fail_writes_only = false;  // reads keep working
    std::map<std::uint8_t, std::vector<std::uint8_t>> blocks;  // what a read returns
    std::vector<Exchange> log;

    [[nodiscard]] bool Present() const override { return present; }

    [[nodiscard]] bool SetReport(std::uint8_t id, std::span<const std::uint8_t> data) override {
        log.push_back({true, id, {data.begin(), data.end()}});
        if (Fails(id, true)) return false;
        OnSet(id, data);
        return true;
    }

    [[nodiscard]] bool GetReport(std::uint8_t id, std::span<std::uint8_t> out) override {
        if (Fails(id, false)) {
            log.push_back({false, id, {}});
            return false;
        }
        const auto& b = blocks[id];
        std::fill(out.begin(), out.end(), std::uint8_t{0});
        std::copy_n(b.begin(), std::min(b.size(), out.size()), out.begin());
        log.push_back({false, id, {out.begin(), out.end()}});
        return true;
    }

    [[nodiscard]] int LastError() const override { return 31; }

    std::vector<Exchange> Sets(std::uint8_t id) const {
        std::vector<Exchange> out;
        for (const auto& e : log)
            if (e.set && e.id == id) out.push_back(e);
        return out;
    }

protected:
    virtual void OnSet(std::uint8_t id, std::span<const std::uint8_t> data) {
        blocks[id].assign(data.begin(), data.end());
    }

private:
    bool Fails(std::uint8_t id, bool write) {
        if (!present) return true;
        if (fail_next > 0 && (fail_id == 0 || fail_id == id) && (write || !fail_writes_only)) {
            --fail_next;
            return true;
        }
        return false;
    }
};

}  // namespace quobel::test
