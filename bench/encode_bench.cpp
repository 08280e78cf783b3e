// Encoding one profile's key matrix with macros, as the apply of each device does it:
// every key through keyinfo_to_hardware_code, every macro key through the slot
// assigner (numbering and packing), and the codes written into the matrix block.

#include <array>
#include <cstdint>
#include <vector>

#include <benchmark/benchmark.h>

#include "base/bytes.h"
#include "config/config.h"
#include "config/key_info.h"
#include "device/function_codes.h"
#include "device/macro_packing.h"
#include "device/macro_slots.h"
#include "macro/macro_list.h"

namespace quobel {
namespace {

constexpr MacroLimits kLimits{.nMinDelay = 1, .nMacroBufSize = 128, .nMaxLoop = 65535, .nMaxEvent = 60,
                              .nMaxDelay = 65280, .nMacroNum = 64};

// A list of full macros: every event slot used, with short and long delays mixed.
MacroList FullMacros(int count) {
    MacroList list;
    for (int i = 1; i <= count; ++i) {
        MacroRecord m;
        m.dwMagic = kMacroMagic;
        m.MacroID = static_cast<std::uint32_t>(0x1000 + i);
        m.nLoopMode = static_cast<std::uint32_t>(i % 3);
        m.nLoopCount = 3;
        for (int e = 0; e < kMacroEventSlots; ++e) {
            m.events[e] = {static_cast<std::uint16_t>(0x41 + e % 26), static_cast<std::uint16_t>(e % 2),
                           static_cast<std::uint32_t>(e % 5 == 0 ? 300 : 20)};
        }
        list.Add(m);
    }
    return list;
}

KeyFunction Function(int i, int macros) {
    KeyFunction k;
    switch (i % 6) {
        case 0:
            k.FunID = MakeFunID(kFunMacro, 0);
            k.MacroID = static_cast<std::uint32_t>(0x1000 + 1 + (i / 6) % macros);
            break;
        case 1:
            k.FunID = MakeFunID(kFunKeyCombo, kCodeKeyWithMod);
            k.byModifier = 0x03;
            k.byVk = static_cast<std::uint8_t>(0x41 + i % 26);
            break;
        case 2: k.FunID = MakeFunID(kFunMediaKey, 0x26); break;
        case 3:
            k.FunID = MakeFunID(kFunSpecial, kCodeFire);
            k.byCount = 3;
            k.bySpeed = 0x40;
            k.byFireVk = 0xF0;
            break;
        case 4: k.FunID = MakeFunID(kFunMouseButton, 0x11); break;
        default: k.FunID = MakeFunID(kFunSpecial, 0xA8); break;
    }
    return k;
}

// Mouse: three key modes of ten buttons, eight distinct macros, the 1144-byte block.
void BM_EncodeMouseMatrix(benchmark::State& state) {
    MacroList macros = FullMacros(8);
    std::array<std::array<KeyFunction, 10>, 3> keys{};
    for (int mode = 0; mode < 3; ++mode) {
        for (int b = 0; b < 10; ++b) keys[mode][b] = Function(mode * 10 + b, 8);
    }
    const std::array<std::uint8_t, 8> by_lk{1, 2, 3, 4, 5, 6, 7, 8};
    std::array<std::uint8_t, 1144> block{};
    for (auto _ : state) {
        block.fill(0);
        std::array<std::uint32_t, 30> codes{};
        MacroSlotAssigner slots(MacroDevice::Mouse, macros, kLimits, std::span(block).first(1024), 1);
        for (int mode = 0; mode < 3; ++mode) {
            for (int b = 0; b < 10; ++b) {
                const KeyFunction& k = keys[mode][b];
                std::uint32_t& code = codes[mode * 10 + b];
                code = mouse::keyinfo_to_hardware_code(k, macros, by_lk);
                if (code == kNoDeviceCode) code = kMsCodeDisabled;
                if (FunType(k.FunID) == kFunMacro) slots.Assign(k, mode + 1, b, code);
            }
        }
        ByteWriter w(block);
        for (std::size_t i = 0; i < codes.size(); ++i) w.le32(1024 + 4 * i, codes[i]);
        benchmark::DoNotOptimize(block.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_EncodeMouseMatrix);

// Keyboard: 132 keys with their Fn layer for the first 48, 22 macro keys of 16 distinct
// macros, the 1024-byte big-endian matrix and the 4096-byte macro memory.
void BM_EncodeKeyboardMatrix(benchmark::State& state) {
    MacroList macros = FullMacros(16);
    std::array<KeyInfo, 132> keys{};
    for (int i = 0; i < 132; ++i) {
        SetFunction(keys[i], Function(i, 16));
        keys[i].nMatrixInx = i;
        keys[i].nFnInx = i < 48 ? i : -1;
        keys[i].FnFun.FunID = MakeFunID(kFunSpecial, 0xB5);
    }
    std::array<std::uint8_t, 1024> matrix{};
    std::array<std::uint8_t, 4096> memory{};
    for (auto _ : state) {
        memory.fill(0);
        std::array<std::uint32_t, 256> codes{};
        MacroSlotAssigner slots(MacroDevice::Keyboard, macros, kLimits, memory);
        for (int i = 0; i < 132; ++i) {
            const KeyInfo& k = keys[i];
            const std::uint32_t a = keyboard::keyinfo_to_hardware_code(k, macros);
            if (a == kNoDeviceCode) continue;
            if (k.nFnInx < 0) {
                codes[i] = a;
            } else {
                codes[132 + k.nFnInx] = a;
                codes[180 + k.nFnInx] = keyboard::keyinfo_to_hardware_code(k.FnFun, macros);
                codes[i] = 0x02000000u | static_cast<std::uint32_t>(k.nFnInx);
            }
        }
        for (int i = 0; i < 132; ++i) {
            const KeyInfo& k = keys[i];
            if (FunType(k.FunID) != kFunMacro) continue;
            const int target = k.nFnInx < 0 ? k.nMatrixInx : 132 + k.nFnInx;
            slots.Assign(FunctionOf(k), 0, i, codes[target]);
        }
        ByteWriter w(matrix);
        for (std::size_t i = 0; i < codes.size(); ++i) w.be32(4 * i, codes[i]);
        benchmark::DoNotOptimize(matrix.data());
        benchmark::DoNotOptimize(memory.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_EncodeKeyboardMatrix);

// One full macro through each packer.
void BM_PackKeyboardMacro(benchmark::State& state) {
    const MacroList macros = FullMacros(1);
    std::array<std::uint8_t, 128> out{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(keyboard::StMacro_To_HdMacro(*macros.begin(), out, kLimits));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PackKeyboardMacro);

void BM_PackMouseMacro(benchmark::State& state) {
    const MacroList macros = FullMacros(1);
    std::array<std::uint8_t, 128> out{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(mouse::StMacro_To_HdMacro(*macros.begin(), out, kLimits, 1));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PackMouseMacro);

}  // namespace
}  // namespace quobel
