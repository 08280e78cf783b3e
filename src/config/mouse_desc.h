#pragma once
// The mouse description: [MS] and the [SENSOR_n] sections of cfg.ini, and the table of
// sensors the program knows.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "base/geometry.h"
#include "config/key_info.h"

namespace quobel {

struct Config;
class Reporter;

// ---- Built-in sensors ---------------------------------------------------------------

constexpr int kBuiltinSensors = 12;
constexpr int kMaxDpiSteps = 250;
constexpr int kSensorDpiLevels = 10;

// The DPI steps of one sensor with the code the device receives for each step (byHw)
// and the code the DPI-lock function uses (byLk). Step i (0-based) is DPI nDpi[i].
struct SensorDpi {
    std::int32_t nSensor = 0;  // sensor identifier, e.g. 0x3360
    std::int32_t nNum = 0;     // number of steps, at most kMaxDpiSteps
    std::array<std::int32_t, kMaxDpiSteps> nDpi{};
    std::array<std::uint8_t, kMaxDpiSteps> byHw{};
    std::array<std::uint8_t, kMaxDpiSteps> byLk{};
};

// The sensor table of one loaded configuration. A [SENSOR_n] DPISET key replaces a
// sensor's list here, so every later user of that sensor sees the configured steps.
using SensorDpiTable = std::array<SensorDpi, kBuiltinSensors>;

// The table as the program ships it.
SensorDpiTable BuiltinSensorTable();

// The sensor's entry, or null when the identifier is not one of the built-in sensors.
const SensorDpi* FindSensorDpi(const SensorDpiTable& table, std::int32_t nSensor);
SensorDpi* FindSensorDpi(SensorDpiTable& table, std::int32_t nSensor);

// Index of a DPI value among the sensor's steps, or -1.
int DpiStepIndex(const SensorDpi& sensor, std::int32_t dpi);

// The built-in default DPI levels of a sensor (ten slots, unused ones 0), or nullopt
// for a sensor without defaults.
std::optional<std::array<std::int32_t, kSensorDpiLevels>> BuiltinDefaultLevels(std::int32_t nSensor);

// The sensor type the mouse reports in its status (a nibble: 1 to 9, 11, 12 and 14
// are known) to a sensor identifier; 0 for any other code.
std::int32_t SensorFromCode(std::int32_t code);

// ---- Sensor sections ----------------------------------------------------------------

constexpr int kMaxSensorCfgs = 9;
constexpr int kMouseModes = 3;
constexpr int kMaxMouseKeys = 21;

using MouseKeyTable = std::array<KeyInfo, kMaxMouseKeys>;
using MouseKeyTables = std::array<MouseKeyTable, kMouseModes>;

// One [SENSOR_n] section: the DPI levels, rates, buttons and marks of a mouse built
// with that sensor. nSensor 0 is an empty entry.
struct SensorCfg {
    std::int32_t nSensor = 0;
    std::int32_t nDpiNum = 0;                        // DPI levels shown, DM
    std::int32_t nDefLevel = 0;                      // default level, -1 when not given
    std::array<std::int32_t, kSensorDpiLevels> nDefDpi{};  // default DPI of each level
    std::array<Colour, kSensorDpiLevels> clrDefDpi{};      // default colour of each level
    std::int32_t nDpiH = 0;                          // extra gap between DPI rows
    std::int32_t nModeNum = 0;                       // button modes 1..3
    std::int32_t nKeyNum = 0;                        // buttons 1..21
    MouseKeyTables DefKeys{};                        // default function per mode and button
    std::int32_t nKeyY = 0;                          // top of the first button row
    std::int32_t nKeyH = 0;                          // gap between button rows
    std::int32_t nMouseX = 0;                        // position of the mouse picture
    std::int32_t nMouseY = 0;
    std::array<std::uint32_t, kMouseModes> dwDefRate{};  // default report rate per mode
    std::array<std::uint32_t, 4> dwRate{};               // rates offered: 0x125, 0x250, ...
    std::uint32_t dwKeyMask = 0;                     // bit k: button k+1 cannot be reassigned
    std::array<Rect, kMaxMouseKeys> rcMark{};        // button marks on the mouse picture
};

// ---- [MS] ---------------------------------------------------------------------------

constexpr int kMsLedEffects = 15;
constexpr int kPickColors = 15;
constexpr int kSnipMenuBytes = 28;
constexpr int kGunValues = 21;
constexpr int kGunColors = 7;

// Display options and default colours of one mouse lighting effect.
struct MsLedOpt {
    std::uint8_t bSpeed = 0;   // speed slider shown
    std::uint8_t bBright = 0;  // brightness slider shown
    std::uint8_t bDir = 0;     // direction buttons shown
    std::uint8_t bCheck = 0;   // check box shown
    std::int32_t nColorNum = 0;  // colour swatches shown, 0..7
    std::array<Colour, 7> clrDef{};
};

// A colour the picker offers, with the code the device knows it by.
struct PickColorEntry {
    Colour clr = 0;          // 0 ends the list
    std::int32_t nCode = 0;
};

struct MsDevCfg {
    std::uint16_t wVid = 0;
    std::uint16_t wPid = 0;
    std::string szUsbString;           // at most 29 characters
    std::uint16_t wPop = 0;
    std::uint32_t dwLedMask = 0;
    std::int32_t bShowEffect = 0;
    std::int32_t bShowDpiColor = 0;
    std::int32_t bShowDpiCheck = 0;
    std::int32_t bShowUsbRate = 0;
    std::int32_t bShowXY = 0;
    std::int32_t nModeSp = 0;
    std::array<std::int32_t, 2> nShowLed{};
    std::int32_t bShowMedia = 0;
    std::int32_t bAutoSwitch = 0;
    std::int32_t bRgbSW = 0;
    std::int32_t nPopByte1 = 0;
    std::int32_t bModeSWBySw = 0;
    std::int32_t bShowOnlyModeString = 0;
    std::int32_t nHandOft = 0;
    std::int32_t bKeyCodeHasIndex = 0;
    std::int32_t nEnhancePrecision = 0;
    std::array<Colour, 7> clrEffectTail{};
    std::int32_t bSingleFlowRGB = 0;
    std::array<std::int32_t, 3> nGridRGBIndex{};   // device byte positions of red, green, blue
    std::int32_t nGunOption = 0;
    Colour clrChijiBkg = 0;
    std::uint32_t dwShowEx = 0;
    std::array<std::uint32_t, 3> dwExKey{};
    std::array<MsLedOpt, kMsLedEffects> LedOpt{};
    std::array<std::uint32_t, 20> dwLedParam{};
    // DPI-lock menu: [0] offered, [1] entry count (may exceed what fits), [2..] entries.
    std::array<std::uint8_t, kSnipMenuBytes> bySnipMenu{};
    std::array<PickColorEntry, kPickColors> PickColor{};
    std::array<std::uint8_t, kGunValues> byGunValue{};
    std::array<Colour, kGunColors> clrGun{};
    std::int32_t nCurSensor = 0;
    std::array<SensorCfg, kMaxSensorCfgs> Sensors{};
};

// The DPI-lock entries that actually fit in bySnipMenu (the count may claim more).
int SnipMenuEntryCount(const MsDevCfg& ms);

// The sensor section describing nSensor, or null.
const SensorCfg* FindSensor(const MsDevCfg& ms, std::int32_t nSensor);

// Makes nSensor the current sensor: stores it in nCurSensor and selects its section;
// without one, nothing is selected and "set_cur_sensor:  pSensorCfg=null for 0x%04x"
// is reported. Returns whether a section was found.
bool SetCurSensor(Config& config, std::int32_t nSensor, Reporter& reporter);

}  // namespace quobel
