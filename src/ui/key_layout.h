#pragma once
// Key names from a keyboard layout: the character a key types without modifiers on
// that layout, upper-cased. Virtual-key codes stand for key positions as on a US
// keyboard; the layout says what the key at that position types.

#include <memory>
#include <string>

namespace quobel {

class KeyLayout {
public:
    // An XKB layout name ("us", "de"); empty: the configured one (XKB_DEFAULT_LAYOUT),
    // else "us". An unknown layout gives a layout that names nothing.
    explicit KeyLayout(const std::string& layout = {});
    ~KeyLayout();
    KeyLayout(const KeyLayout&) = delete;
    KeyLayout& operator=(const KeyLayout&) = delete;

    // The name of a letter, digit or punctuation key; "" for other keys or without a layout.
    [[nodiscard]] std::string Name(int vk) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The session's layout, made on first use.
const KeyLayout& SessionKeyLayout();

}  // namespace quobel
