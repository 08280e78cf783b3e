#include "ui/macro/macro_events.h"

#include <algorithm>

#include "macro/macro_file.h"

namespace quobel {

namespace {

constexpr int kDefaultMaxEvents = 90;

struct LastRecorded {
    int vk = 0;
    bool release = false;
    std::int64_t tick = 0;
};

LastRecorded& Last() {
    static LastRecorded last;
    return last;
}

bool IsKeyRow(const EventRow& r) { return r.type == kRowPress || r.type == kRowRelease; }

}  // namespace

int MaxEventsOf(const MacroLimits& limits) {
    return limits.nMaxEvent <= 0 || limits.nMaxEvent > 89 ? kDefaultMaxEvents : limits.nMaxEvent;
}

std::vector<EventRow> RowsOfRecord(const MacroRecord& record, int max_events) {
    std::vector<EventRow> rows;
    const int n = std::min(max_events, kMacroEventSlots);
    for (int i = 0; i < n; ++i) {
        const MacroEvent e = record.events[i];
        if (e.wKey == 0 && e.dwDelay == 0) break;
        rows.push_back({e.wDir != 0 ? kRowPress : kRowRelease, e.wKey});
        if (e.dwDelay != 0) rows.push_back({kRowDelay, e.dwDelay});
    }
    return rows;
}

void TidyEventRows(std::vector<EventRow>& rows) {
    const auto first_press = std::find_if(rows.begin(), rows.end(), [](const EventRow& r) { return r.type == kRowPress; });
    rows.erase(rows.begin(), first_press);
    std::size_t i = 0;
    while (i + 1 < rows.size()) {
        EventRow& a = rows[i];
        const EventRow& b = rows[i + 1];
        if (a.type != b.type) {
            ++i;
            continue;
        }
        if (a.type == kRowDelay) {
            a.value += b.value;
            rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            ++i;
        } else if (a.value == b.value) {
            rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            ++i;
        } else {
            i += 2;
        }
    }
}

bool BuildEvents(std::span<const EventRow> rows, int max_events, MacroEvent (&events)[kMacroEventSlots]) {
    std::fill(std::begin(events), std::end(events), MacroEvent{});
    const int n = std::min(max_events, kMacroEventSlots);
    bool zero_key = false;
    int built = 0;
    for (std::size_t i = 0; i < rows.size() && built < n; ++i) {
        if (!IsKeyRow(rows[i])) continue;  // a delay that follows no key is dropped
        MacroEvent& e = events[built++];
        e.wKey = static_cast<std::uint16_t>(rows[i].value & 0xFF);
        e.wDir = rows[i].type == kRowPress ? 1 : 0;
        if (e.wKey == 0) zero_key = true;
        if (i + 1 < rows.size() && rows[i + 1].type == kRowDelay) e.dwDelay = rows[++i].value;
    }
    return zero_key;
}

int RowsDeviceSize(std::span<const EventRow> rows) {
    MacroEvent events[kMacroEventSlots];
    (void)BuildEvents(rows, kMacroEventSlots, events);
    return MacroDeviceSize(events);
}

int MacroRecorder::Step(int vk, bool release, std::int64_t now_ms, bool auto_delay, const MacroLimits& limits,
                        std::vector<EventRow>& rows) {
    LastRecorded& last = Last();
    if (vk == last.vk && release == last.release) return 0;  // keyboard auto-repeat
    if (MacroDeviceFull(RowsDeviceSize(rows), limits)) return 0;
    int added = 0;
    if (auto_delay && !rows.empty()) {
        std::int64_t delay = now_ms - last.tick;
        if (delay > 0) {
            if (limits.nMaxDelay > 0) delay = std::min<std::int64_t>(delay, limits.nMaxDelay);
            rows.push_back({kRowDelay, static_cast<std::uint32_t>(delay)});
            ++added;
        }
    }
    rows.push_back({release ? kRowRelease : kRowPress, static_cast<std::uint32_t>(vk)});
    last = {vk, release, now_ms};
    return added + 1;
}

void MacroRecorder::ResetSharedState() { Last() = {}; }

}  // namespace quobel
