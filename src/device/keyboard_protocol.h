#pragma once
// The keyboard's command blocks (report 6, 1031 data bytes) and the apply that
// sends them: profile header with the effect settings, effect colour table, per-key
// colour groups, key matrix with its Fn layers, and macro memory.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "device/macro_slots.h"
#include "device/progress_sink.h"
#include "device/report_io.h"
#include "profile/profile_data.h"

namespace quobel {

constexpr std::uint8_t kKbRequestId = 5;
constexpr std::uint8_t kKbBlockId = 6;
constexpr std::size_t kKbBlockLen = 1031;
constexpr std::size_t kKbRequestLen = 6;
constexpr std::size_t kKbHeaderLen = 136;
constexpr std::size_t kKbColourTableLen = 273;  // what one command carries: 13 effects
constexpr std::size_t kKbLedTransferLen = 792;  // two colour groups of three 132-byte planes
constexpr std::size_t kKbMatrixLen = 1024;
constexpr std::size_t kKbMacroMemLen = 4096;    // 32 slots of 128 bytes
constexpr std::size_t kKbMacroSlot = 128;
constexpr int kKbMatrixCodes = 256;
constexpr int kKbFnSingle = 132;                // first code of the Fn-single layer
constexpr int kKbFnCombo = 180;                 // first code of the Fn-combination layer
constexpr int kKbFnKeys = 48;

// Command numbers (C0).
constexpr std::uint8_t kKbCmdHeader = 3;
constexpr std::uint8_t kKbCmdMatrix = 4;
constexpr std::uint8_t kKbCmdMacro = 5;
constexpr std::uint8_t kKbCmdColours = 8;
constexpr std::uint8_t kKbCmdLed = 9;
constexpr std::uint8_t kKbReadHeader = 0x83;

// The description values the keyboard blocks are built from.
struct KeyboardProtoDesc {
    std::uint8_t byDefCfg = 0;
    std::uint8_t byOurCfg = 0;
    std::uint8_t byLedModeSelectOffset = 4;
    std::uint8_t byEffectBase = 1;
    std::uint8_t byEffectOffset = 18;
    std::uint8_t byEffectNum = 13;
    std::uint8_t byStartGp = 32;
    std::uint8_t byGaoshouAddr = 172;
    std::uint8_t byGaoshouGroupNum = 5;
    std::array<std::uint8_t, 3> byRGBIndex{2, 1, 0};
    // The key table of the description, its first nKeyCount entries.
    std::vector<KeyInfo> keys;
};

using KbBlock = std::array<std::uint8_t, kKbBlockLen>;

// A command block: C0 command, C1 address, C3 0x40 (0 for the header command), data from C7.
KbBlock KbCommandBlock(std::uint8_t cmd, std::uint8_t addr, std::span<const std::uint8_t> data);

// Sets H0 and the profile part of the 136-byte header read from the device.
void EncodeKbHeader(std::span<std::uint8_t, kKbHeaderLen> h, const KbProfile& kb, const KeyboardProtoDesc& d,
                    bool reset);

// The effect colour table as the colour command carries it.
std::array<std::uint8_t, kKbColourTableLen> BuildKbColourTable(const KbProfile& kb, const KeyboardProtoDesc& d);

// One per-key colour transfer: groups `first` and `first + 1`.
struct KbLedTransfer {
    int first_group = 0;
    std::uint8_t addr = 0;
};
std::vector<KbLedTransfer> KbLedTransfers(const KbProfile& kb, const KeyboardProtoDesc& d, std::uint32_t flags);
std::array<std::uint8_t, kKbLedTransferLen> BuildKbLedTransfer(const KbProfile& kb, const KeyboardProtoDesc& d,
                                                               int first_group, const KeyCodec& codec);

// The key matrix with its Fn layers and the macro memory. Assigns macro slots as it
// goes and resets every Macro_Buffer_ID before it returns.
struct KbMatrix {
    std::array<std::uint32_t, kKbMatrixCodes> codes{};
    std::array<std::uint8_t, kKbMacroMemLen> macros{};
    int macro_keys = 0;  // keys that received a macro slot
};
void FillMatrix(const KbProfile& kb, const KeyboardProtoDesc& d, const ApplyEnv& env, KbMatrix& out);

// Codes 75, 79 and 80 are one key on the device: the first non-zero of 79, 75, 80 goes to all.
void EqualizeKbArrowCodes(std::array<std::uint32_t, kKbMatrixCodes>& codes);
// The 256 codes, most significant byte first.
std::array<std::uint8_t, kKbMatrixLen> EncodeKbMatrix(const std::array<std::uint32_t, kKbMatrixCodes>& codes);

[[nodiscard]] bool KbGetProfile(const ApplyEnv& env, std::span<std::uint8_t, kKbHeaderLen> h);
[[nodiscard]] bool KbSetProfile(const ApplyEnv& env, std::span<const std::uint8_t, kKbHeaderLen> h);

// Writes the keyboard part of a profile. Flags: 1 key matrix and macros, 2 header and
// effect colours, 4 all colour groups, 0x10 the current colour group pair.
// `bReset` is consumed. Returns 1 on success, 0 on failure.
int ApplyKeyboard(const ApplyEnv& env, const KeyboardProtoDesc& d, const ProfileData& p, ProgressSink* sink,
                  std::uint32_t flags, std::int32_t& bReset);

}  // namespace quobel
