#pragma once
// The mouse's data blocks: general block (report 4), mode block (report 8) and
// matrix block (report 6), and the apply that reads, builds and writes them.
//
// The block builders are pure functions of the profile and the description values;
// ApplyMouse sequences them over the device's reports.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "base/geometry.h"
#include "config/mouse_desc.h"
#include "device/progress_sink.h"
#include "device/report_io.h"
#include "platform/pointer.h"
#include "profile/profile_data.h"

namespace quobel {

enum class MouseVariant { STD_2, STD_3, RV_3, RV_4, CJ_1 };

// The variant of a mouse type code; none for a type this program cannot write.
std::optional<MouseVariant> MouseVariantOf(int nMsFw);
const char* MouseVariantName(MouseVariant v);

constexpr std::uint8_t kMouseGeneralId = 4;
constexpr std::uint8_t kMouseMatrixId = 6;
constexpr std::uint8_t kMouseModeId = 8;
constexpr std::size_t kMouseGeneralMax = 80;
constexpr std::size_t kMouseModeLen = 8;
constexpr std::size_t kMouseMatrixMax = 1144;
constexpr std::size_t kMouseMacroArea = 1024;
constexpr std::size_t kMouseMacroSlot = 128;

std::size_t MouseGeneralLength(int nMsFw);
std::size_t MouseMatrixLength(int nMsFw);

struct DpiStep {
    std::int32_t nDpi = 0;
    std::uint8_t byHw = 0;
};

// The description values the mouse blocks are built from.
struct MouseProtoDesc {
    int nMsFw = 0;
    std::array<int, 3> nGridRGBIndex{0, 1, 2};
    std::array<PickColorEntry, 15> PickColor{};
    int nPopByte1 = 0;
    int nHandOft = 51;
    bool bModeSWBySw = false;
    bool bKeyCodeHasIndex = true;
    // nMatrixInx of buttons 1..10 in the mode-1 default button table.
    std::array<int, 10> nButtonMatrixInx{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    // The current sensor.
    std::uint32_t nSensor = 0;
    int nDpiNum = 0;
    int nDefLevel = -1;
    std::vector<DpiStep> dpiSteps;
};

// Rate code → device rate number: 0x125 1, 0x250 2, 0x500 3, 0x1000 4, else `other`.
std::uint8_t RateNumber(std::uint32_t rate_code, std::uint8_t other);

// Builds the general block in place over the block read from the device; the bytes
// not named by the layout keep the device's values.
void EncodeMouseGeneral(std::span<std::uint8_t> g, const ProfileData& p, const MouseProtoDesc& d,
                        MouseVariant v, bool reset);

// The mode block from the one read: key mode, the three rates, and with `reset`
// the default DPI level and fixed bytes.
std::array<std::uint8_t, kMouseModeLen> EncodeMouseMode(std::span<const std::uint8_t> read, int nMode,
                                                        std::span<const std::uint32_t, 3> rates, bool reset,
                                                        int nDefLevel);

// The matrix block: macro memory, then the button codes of the variant's modes.
// Assigns macro slots (Macro_Buffer_ID) as it goes; the caller resets them.
struct MouseMatrix {
    std::array<std::uint8_t, kMouseMatrixMax> bytes{};
    std::size_t length = 0;
    std::array<std::array<std::uint32_t, 10>, 3> codes{};  // per key mode as sent
};
MouseMatrix BuildMouseMatrix(const MsProfile& ms, const MouseProtoDesc& d, MouseVariant v,
                             const ApplyEnv& env);

// Reads the mode block; false when the device does not answer.
[[nodiscard]] bool MouseGetMode(const ApplyEnv& env, std::array<std::uint8_t, kMouseModeLen>& out);
// Reads the mode block, builds the new one and writes it.
[[nodiscard]] bool MouseSetMode(const ApplyEnv& env, int nMode, std::span<const std::uint32_t, 3> rates,
                                bool reset, int nDefLevel);

// The values an apply with `flags` stores in the profile it writes, so the saved
// profile and the pages agree with the device: CJ_1 writing its mode block always
// runs the second key mode at rate 0x250.
void AmendMouseProfile(ProfileData& p, MouseVariant v, std::uint32_t flags);

// Writes the mouse part of a profile. Flags: 1 matrix block, 2 general (and mode)
// block, 8 pointer settings. `bReset` is consumed; p is amended (AmendMouseProfile).
// Returns 1 on success, 0 on failure.
int ApplyMouse(const ApplyEnv& env, const MouseProtoDesc& d, ProfileData& p, ProgressSink* sink,
               std::uint32_t flags, std::int32_t& bReset, SystemPointer* pointer);

}  // namespace quobel
