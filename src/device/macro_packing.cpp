#include "device/macro_packing.h"

#include <algorithm>
#include <array>

#include "base/bytes.h"
#include "base/log.h"
#include "device/function_codes.h"

namespace quobel {
namespace {

// The packers build in a zeroed work buffer and copy out the first nMacroBufSize
// bytes, so a slot is always written whole and ends in zeros.
using WorkBuffer = std::array<std::uint8_t, kMaxMacroSlotBytes>;

// nMacroBufSize when it is usable with out, else 0.
std::size_t SlotSize(std::span<const std::uint8_t> out, const MacroLimits& limits) {
    if (limits.nMacroBufSize < 4) return 0;
    const auto size = static_cast<std::size_t>(limits.nMacroBufSize);
    if (size > kMaxMacroSlotBytes || out.size() < size) return 0;
    return size;
}

void WriteLoopCount(ByteWriter& w, const MacroRecord& macro) {
    w.be16(0, macro.nLoopCount == 0 ? 1u : macro.nLoopCount);
}

std::uint8_t ReleaseFlag(const MacroEvent& ev) { return ev.wDir == 0 ? 0x80 : 0x00; }

std::uint8_t EventHid(const MacroEvent& ev) {
    return MacroKeyToHid(static_cast<std::uint8_t>(ev.wKey & 0xFF));  // only the low byte is a key
}

std::size_t CopyOut(const WorkBuffer& work, std::span<std::uint8_t> out, std::size_t size) {
    std::copy_n(work.begin(), size, out.begin());
    return size;
}

}  // namespace

namespace keyboard {

std::size_t StMacro_To_HdMacro(const MacroRecord& macro, std::span<std::uint8_t> out,
                               const MacroLimits& limits) {
    const std::size_t size = SlotSize(out, limits);
    if (size == 0) return 0;
    WorkBuffer work{};
    ByteWriter w(work);
    WriteLoopCount(w, macro);

    std::size_t p = 2;
    for (const MacroEvent& ev : macro.events) {
        if (ev.wKey == 0) break;
        const std::uint32_t d = ev.dwDelay;
        const bool long_delay = d > 127;
        // Cut at the last whole event: a long-delay entry takes 6 bytes, others 2,
        // and the slot keeps at least two zero bytes at its end.
        if (p + (long_delay ? 7 : 3) >= size) break;
        const std::uint8_t hid = EventHid(ev);
        if (hid == 0) {
            LogPrint("StMacro_To_HdMacro: get wrong hid");
            continue;
        }
        const std::uint32_t f = ReleaseFlag(ev);
        if (!long_delay) {
            w.u8(p, f | std::max<std::uint32_t>(d, 3));
            w.u8(p + 1, hid);
            p += 2;
        } else {
            // Delay = remainder (at least 3 ms) plus hundreds in the 16-bit trailer.
            w.u8(p, f | (std::max<std::uint32_t>(d % 100, 3) & 0x7F));
            w.u8(p + 1, hid);
            w.u8(p + 2, 0x00);
            w.u8(p + 3, 0x03);
            w.be16(p + 4, std::min<std::uint32_t>(d / 100, 0xFFFF));
            p += 6;
        }
    }
    CopyOut(work, out, size);
    return p + 2;
}

}  // namespace keyboard

namespace mouse {

std::size_t StMacro_To_HdMacro(const MacroRecord& macro, std::span<std::uint8_t> out,
                               const MacroLimits& limits, int nMacProtocol) {
    if (nMacProtocol != 1 && nMacProtocol != 2) return 0;
    const std::size_t size = SlotSize(out, limits);
    if (size == 0) return 0;
    // Longest delay of a short entry: 127 steps of 10 ms (protocol 1) or of 1 ms (2).
    const std::uint32_t threshold = nMacProtocol == 1 ? 1270 : 127;
    // Longest delay the 4-byte entry can carry: 255 hundreds and 99 ms.
    constexpr std::uint32_t kLongestDelay = 255 * 100 + 99;
    WorkBuffer work{};
    ByteWriter w(work);
    WriteLoopCount(w, macro);

    std::size_t p = 2;
    for (const MacroEvent& ev : macro.events) {
        if (ev.wKey == 0 && ev.dwDelay == 0) break;
        const std::uint32_t d = ev.dwDelay;
        const bool long_delay = d > threshold;
        if (p + (long_delay ? 5 : 3) >= size) break;
        const std::uint8_t hid = EventHid(ev);
        if (hid == 0) LogPrint("StMacro_To_HdMacro: get wrong hid");  // kept as a pure delay
        const std::uint32_t f = ReleaseFlag(ev);
        if (long_delay) {
            const std::uint32_t dl = std::min(d, kLongestDelay);
            w.u8(p, f | ((dl % 100) & 0x7F));
            w.u8(p + 1, hid);
            w.u8(p + 2, dl / 100);
            w.u8(p + 3, 0x03);
            p += 4;
        } else {
            std::uint32_t units = 0;
            if (nMacProtocol == 1) units = d < 10 ? 1 : d / 10;
            else units = d < 1 ? 1 : d;
            w.u8(p, f | units);
            w.u8(p + 1, hid);
            p += 2;
        }
    }
    w.u8(p, 0);
    w.u8(p + 1, 0);
    CopyOut(work, out, size);
    return p + 1;
}

}  // namespace mouse

}  // namespace quobel
