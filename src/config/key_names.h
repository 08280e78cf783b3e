#pragma once
// Key names, key-combination texts and the caption of a key or button function.
//
// Key names are fixed English words (except the three mouse buttons, which take the
// language's words); captions take their words from the language texts, so they
// follow the selected language.

#include <cstdint>
#include <optional>
#include <string>

#include "config/key_info.h"

namespace quobel {

class TextTable;
struct Config;

// The macro list, as far as a caption needs it.
class MacroNameSource {
public:
    virtual ~MacroNameSource() = default;
    // Name of the macro with this identifier; nullopt when no macro has it.
    [[nodiscard]] virtual std::optional<std::string> MacroName(std::uint32_t macro_id) const = 0;
};

// The current mouse sensor, as far as a caption needs it.
class SensorDpiSource {
public:
    virtual ~SensorDpiSource() = default;
    // DPI of a step of the sensor's DPI table (0-based); nullopt when there is no such step.
    [[nodiscard]] virtual std::optional<int> DpiOfStep(std::int64_t step) const = 0;
};

// The DPI steps of the configuration's current sensor (its entry in the sensor table).
class CurrentSensorDpi final : public SensorDpiSource {
public:
    explicit CurrentSensorDpi(const Config& config) : config_(config) {}
    [[nodiscard]] std::optional<int> DpiOfStep(std::int64_t step) const override;

private:
    const Config& config_;
};

// The user's keyboard layout, as far as a key name needs it. The window hands in the
// session's layout; without one (quobelctl, the device log) keys are named as on a US
// keyboard.
class KeyLayoutSource {
public:
    virtual ~KeyLayoutSource() = default;
    // What the key of a virtual-key code types with no modifier held, upper-cased;
    // "" when the layout does not know the key or it types nothing.
    [[nodiscard]] virtual std::string TypedName(int vk) const = 0;
};

// Name of a virtual-key code: the fixed names, the three mouse buttons (0xF0 to 0xF2)
// from the texts, Fn (0xFA), and for any other code the character the key types on the
// layout without modifiers, upper-cased; a US keyboard's character when there is no
// layout or it names nothing. Empty for 0xFF and for codes that type nothing.
[[nodiscard]] std::string KeyName(int vk, const TextTable& texts, const KeyLayoutSource* layout = nullptr);

// Name of a fire function's key: the mouse codes 0xF0 to 0xF6 by their button texts,
// any other code as KeyName does.
[[nodiscard]] std::string FireKeyName(std::uint8_t vk, const TextTable& texts,
                                      const KeyLayoutSource* layout = nullptr);

// "Ctrl + Alt + Shift + Win + key1 + key2": each side-less modifier once, then the
// keys that are not 0. A key without a name adds nothing.
[[nodiscard]] std::string ComboTextShort(std::uint8_t modifier, int vk1, int vk2, const TextTable& texts,
                                         const KeyLayoutSource* layout = nullptr);

// The same with every modifier bit on its own: "L-Ctrl", "L-Alt", "L-Shift", "L-Win",
// "R-Ctrl", "R-Alt", "R-Shift", "R-Win", then the keys.
[[nodiscard]] std::string ComboTextLong(std::uint8_t modifier, int vk1, int vk2, const TextTable& texts,
                                        const KeyLayoutSource* layout = nullptr);

// Caption of the function a key entry carries; empty when the function has none.
// Without a macro source macro captions are empty; without a sensor the DPI lock
// shows 0; key names follow the layout as KeyName says.
[[nodiscard]] std::string FunctionCaption(const KeyInfo& key, const TextTable& texts,
                                          const MacroNameSource* macros = nullptr,
                                          const SensorDpiSource* sensor = nullptr,
                                          const KeyLayoutSource* layout = nullptr);

}  // namespace quobel
