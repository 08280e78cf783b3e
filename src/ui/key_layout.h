#pragma once
// Key names from a keyboard layout: the character a key types without modifiers on
// that layout, upper-cased. Virtual-key codes of character keys stand for key
// positions as on a US keyboard (see ui/keymap.h); the layout says what the key at
// that position types.

#include <memory>
#include <string>

#include "config/key_names.h"

namespace quobel {

class KeyLayout final : public KeyLayoutSource {
public:
    // Layout names as XKB takes them ("de", "us"; variant "nodeadkeys"); empty names
    // take libxkbcommon's defaults. nullptr when the layout cannot be compiled.
    static std::unique_ptr<KeyLayout> FromNames(const std::string& layout, const std::string& variant = {},
                                                const std::string& model = {}, const std::string& options = {});
    // A keymap in the XKB text format. nullptr when it does not compile.
    static std::unique_ptr<KeyLayout> FromKeymapText(const std::string& text);
    // The keymap of an X server's core keyboard; empty display: $DISPLAY. nullptr
    // without a server or without its keyboard extension.
    static std::unique_ptr<KeyLayout> FromX11(const std::string& display = {});
    // The configured layout: the XKB_DEFAULT_* variables when XKB_DEFAULT_LAYOUT is
    // set, else the system's keyboard defaults file (XKBLAYOUT=... lines). nullptr
    // when neither names a layout.
    static std::unique_ptr<KeyLayout> Configured(const std::string& defaults_file = "/etc/default/keyboard");

    ~KeyLayout() override;
    KeyLayout(const KeyLayout&) = delete;
    KeyLayout& operator=(const KeyLayout&) = delete;

    // The name of a letter, digit or punctuation key; "" for other keys.
    [[nodiscard]] std::string TypedName(int vk) const override;

    struct Impl;

private:
    explicit KeyLayout(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// The session's layout, made on first use: on X11 the server's keymap, elsewhere the
// configured layout; nullptr when there is neither (key names then are the US ones).
const KeyLayoutSource* SessionKeyLayout();

}  // namespace quobel
