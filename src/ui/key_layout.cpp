#include "ui/key_layout.h"

#include <xkbcommon/xkbcommon.h>

#include <QString>

#include <array>
#include <cstdlib>

namespace quobel {

namespace {

// Evdev key codes of the keys that type characters, by virtual-key code.
int EvdevOf(int vk) {
    static constexpr std::array<int, 26> kLetters{30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                                  49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};
    if (vk >= 'A' && vk <= 'Z') return kLetters[static_cast<std::size_t>(vk - 'A')];
    if (vk >= '1' && vk <= '9') return 2 + (vk - '1');
    switch (vk) {
    case '0': return 11;
    case 0xBA: return 39;  // ;
    case 0xBB: return 13;  // =
    case 0xBC: return 51;  // ,
    case 0xBD: return 12;  // -
    case 0xBE: return 52;  // .
    case 0xBF: return 53;  // /
    case 0xC0: return 41;  // `
    case 0xDB: return 26;  // [
    case 0xDC: return 43;  // backslash
    case 0xDD: return 27;  // ]
    case 0xDE: return 40;  // '
    case 0xE2: return 86;  // the extra key beside left Shift
    default: return 0;
    }
}

}  // namespace

struct KeyLayout::Impl {
    xkb_context* context = nullptr;
    xkb_keymap* keymap = nullptr;
    xkb_state* state = nullptr;
};

KeyLayout::KeyLayout(const std::string& layout) : impl_(std::make_unique<Impl>()) {
    std::string name = layout;
    if (name.empty()) {
        const char* configured = std::getenv("XKB_DEFAULT_LAYOUT");
        name = configured != nullptr && *configured != 0 ? configured : "us";
    }
    impl_->context = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    if (impl_->context == nullptr) return;
    xkb_rule_names names{};
    names.layout = name.c_str();
    impl_->keymap = xkb_keymap_new_from_names(impl_->context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (impl_->keymap != nullptr) impl_->state = xkb_state_new(impl_->keymap);
}

KeyLayout::~KeyLayout() {
    if (impl_->state != nullptr) xkb_state_unref(impl_->state);
    if (impl_->keymap != nullptr) xkb_keymap_unref(impl_->keymap);
    if (impl_->context != nullptr) xkb_context_unref(impl_->context);
}

std::string KeyLayout::Name(int vk) const {
    const int evdev = EvdevOf(vk);
    if (evdev == 0 || impl_->state == nullptr) return {};
    char text[16] = {};
    const int n = xkb_state_key_get_utf8(impl_->state, static_cast<xkb_keycode_t>(evdev + 8), text, sizeof text);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof text) return {};
    const QString s = QString::fromUtf8(text, n);
    // Dead keys and control characters type nothing to show.
    if (s.isEmpty() || !s.at(0).isPrint()) return {};
    return s.toUpper().toStdString();
}

const KeyLayout& SessionKeyLayout() {
    static const KeyLayout layout;
    return layout;
}

}  // namespace quobel
