#pragma once
// The event list of the macro editor as plain rows (press, release, delay), and the
// rules that turn it into a record's events and back, tidy it before a save and grow
// it while recording. Free of Qt so the rules can be checked on their own.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "config/config.h"
#include "macro/macro_record.h"

namespace quobel {

// The row types of the event tree.
enum : std::uint32_t { kRowRelease = 0, kRowPress = 1, kRowDelay = 2 };

struct EventRow {
    std::uint32_t type = kRowPress;
    std::uint32_t value = 0;  // key code, or the delay in milliseconds
    bool operator==(const EventRow&) const = default;
};

// Events a record may hold for these limits: nMaxEvent, or 90 when that is 0 or above 89.
int MaxEventsOf(const MacroLimits& limits);

// The rows of a record's events: per event its key row, then a delay row when it has one.
std::vector<EventRow> RowsOfRecord(const MacroRecord& record, int max_events);

// Before a save: rows before the first press go; of two rows of the same type in a row,
// two delays become one with their sum and a repeated press or release of the same key
// loses its second row; the walk goes on after each pair.
void TidyEventRows(std::vector<EventRow>& rows);

// The events of the rows (area cleared first): each key row an event, a delay right
// after it that event's delay; other delays are dropped; at most max_events. Returns
// whether a key code of 0 was written.
bool BuildEvents(std::span<const EventRow> rows, int max_events, MacroEvent (&events)[kMacroEventSlots]);

// The device-size measure of the rows (as the events they make).
int RowsDeviceSize(std::span<const EventRow> rows);

// Recording: turns key messages into rows. The last recorded key, direction and time
// are shared by every recording of the run, so a key held across the start of a new
// recording adds nothing until it changes.
class MacroRecorder {
public:
    // One key message at now_ms. Appends at most a delay row and a key row to rows and
    // returns how many it appended: 0 when it repeats the last message or the rows have
    // reached the device size.
    static int Step(int vk, bool release, std::int64_t now_ms, bool auto_delay, const MacroLimits& limits,
                    std::vector<EventRow>& rows);
    // Tests start from a clean state.
    static void ResetSharedState();
};

}  // namespace quobel
