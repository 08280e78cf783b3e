#pragma once
// Small macro records and named table rows for the encoder tests.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "base/utf16.h"
#include "macro/macro_record.h"

namespace quobel::test {

struct Ev {
    std::uint16_t key;
    std::uint16_t dir;
    std::uint32_t delay;
};

inline MacroRecord MakeMacro(std::uint32_t id, std::initializer_list<Ev> events = {{0x41, 1, 10}},
                             std::uint32_t loop_mode = 0, std::uint16_t loop_count = 1,
                             std::string_view name = "m") {
    MacroRecord m;
    m.dwMagic = kMacroMagic;
    m.MacroID = id;
    m.nLoopMode = loop_mode;
    m.nLoopCount = loop_count;
    SetField(m.szName, name);
    int i = 0;
    for (const Ev& e : events) {
        if (i == kMacroEventSlots) break;
        m.events[i++] = {e.key, e.dir, e.delay};
    }
    return m;
}

// Test name of a table row: its name field.
template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& row) {
    return row.param.name;
}

}  // namespace quobel::test
