#include "ui/key_layout.h"

#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <QGuiApplication>
#include <QString>

#include <cstdlib>
#include <fstream>

#include "ui/keymap.h"

namespace quobel {

struct KeyLayout::Impl {
    xkb_context* context = nullptr;
    xkb_keymap* keymap = nullptr;
    xkb_state* state = nullptr;

    Impl() = default;
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;
    ~Impl() {
        if (state != nullptr) xkb_state_unref(state);
        if (keymap != nullptr) xkb_keymap_unref(keymap);
        if (context != nullptr) xkb_context_unref(context);
    }
};

namespace {

// A layout over a compiled keymap; nullptr when there is none.
std::unique_ptr<KeyLayout::Impl> WithKeymap(std::unique_ptr<KeyLayout::Impl> impl, xkb_keymap* keymap) {
    if (keymap == nullptr) return nullptr;
    impl->keymap = keymap;
    impl->state = xkb_state_new(keymap);
    if (impl->state == nullptr) return nullptr;
    return impl;
}

std::unique_ptr<KeyLayout::Impl> NewImpl(xkb_context_flags flags) {
    auto impl = std::make_unique<KeyLayout::Impl>();
    impl->context = xkb_context_new(flags);
    if (impl->context == nullptr) return nullptr;
    return impl;
}

const char* OrNull(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }

// Dead keys type nothing by themselves; they are named by the accent they put on.
const char* DeadKeyText(xkb_keysym_t sym) {
    switch (sym) {
        case XKB_KEY_dead_grave: return "`";
        case XKB_KEY_dead_acute: return "´";
        case XKB_KEY_dead_circumflex: return "^";
        case XKB_KEY_dead_tilde: return "~";
        case XKB_KEY_dead_macron: return "¯";
        case XKB_KEY_dead_breve: return "˘";
        case XKB_KEY_dead_abovedot: return "˙";
        case XKB_KEY_dead_diaeresis: return "¨";
        case XKB_KEY_dead_abovering: return "°";
        case XKB_KEY_dead_doubleacute: return "˝";
        case XKB_KEY_dead_caron: return "ˇ";
        case XKB_KEY_dead_cedilla: return "¸";
        case XKB_KEY_dead_ogonek: return "˛";
        default: return nullptr;
    }
}

// The value of a NAME=value line of a shell-style defaults file, quotes removed.
std::string DefaultsValue(const std::string& line, const std::string& name) {
    std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, name.size(), name) != 0) return {};
    start += name.size();
    if (start >= line.size() || line[start] != '=') return {};
    std::string value = line.substr(start + 1);
    while (!value.empty() && (value.back() == '\r' || value.back() == ' ' || value.back() == '\t')) value.pop_back();
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

KeyLayout::KeyLayout(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

KeyLayout::~KeyLayout() = default;

std::unique_ptr<KeyLayout> KeyLayout::FromNames(const std::string& layout, const std::string& variant,
                                                const std::string& model, const std::string& options) {
    auto impl = NewImpl(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    if (!impl) return nullptr;
    xkb_rule_names names{};
    names.layout = OrNull(layout);
    names.variant = OrNull(variant);
    names.model = OrNull(model);
    names.options = OrNull(options);
    xkb_keymap* keymap = xkb_keymap_new_from_names(impl->context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    impl = WithKeymap(std::move(impl), keymap);
    return impl ? std::unique_ptr<KeyLayout>(new KeyLayout(std::move(impl))) : nullptr;
}

std::unique_ptr<KeyLayout> KeyLayout::FromKeymapText(const std::string& text) {
    auto impl = NewImpl(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    if (!impl) return nullptr;
    xkb_keymap* keymap = xkb_keymap_new_from_buffer(impl->context, text.data(), text.size(),
                                                    XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
    impl = WithKeymap(std::move(impl), keymap);
    return impl ? std::unique_ptr<KeyLayout>(new KeyLayout(std::move(impl))) : nullptr;
}

std::unique_ptr<KeyLayout> KeyLayout::FromX11(const std::string& display) {
    xcb_connection_t* conn = xcb_connect(OrNull(display), nullptr);
    if (conn == nullptr) return nullptr;
    std::unique_ptr<KeyLayout> result;
    if (xcb_connection_has_error(conn) == 0 &&
        xkb_x11_setup_xkb_extension(conn, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                    XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr,
                                    nullptr) == 1) {
        const std::int32_t device = xkb_x11_get_core_keyboard_device_id(conn);
        auto impl = device >= 0 ? NewImpl(XKB_CONTEXT_NO_ENVIRONMENT_NAMES) : nullptr;
        if (impl) {
            // The keymap is a copy: the connection is not needed afterwards.
            xkb_keymap* keymap =
                xkb_x11_keymap_new_from_device(impl->context, conn, device, XKB_KEYMAP_COMPILE_NO_FLAGS);
            // Of several layouts the one in use now names the keys; held modifiers do not count.
            xkb_layout_index_t group = 0;
            if (xkb_state* live = keymap != nullptr ? xkb_x11_state_new_from_device(keymap, conn, device) : nullptr) {
                group = xkb_state_serialize_layout(live, XKB_STATE_LAYOUT_EFFECTIVE);
                xkb_state_unref(live);
            }
            impl = WithKeymap(std::move(impl), keymap);
            if (impl && group != 0) xkb_state_update_mask(impl->state, 0, 0, 0, 0, 0, group);
            if (impl) result.reset(new KeyLayout(std::move(impl)));
        }
    }
    xcb_disconnect(conn);
    return result;
}

std::unique_ptr<KeyLayout> KeyLayout::Configured(const std::string& defaults_file) {
    const char* env = std::getenv("XKB_DEFAULT_LAYOUT");
    if (env != nullptr && *env != 0) {
        // libxkbcommon reads the XKB_DEFAULT_* variables itself for names left empty.
        auto impl = NewImpl(XKB_CONTEXT_NO_FLAGS);
        if (!impl) return nullptr;
        xkb_rule_names names{};
        xkb_keymap* keymap = xkb_keymap_new_from_names(impl->context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
        impl = WithKeymap(std::move(impl), keymap);
        return impl ? std::unique_ptr<KeyLayout>(new KeyLayout(std::move(impl))) : nullptr;
    }
    std::ifstream in(defaults_file);
    std::string layout, variant, model, options, line;
    while (std::getline(in, line)) {
        if (std::string v = DefaultsValue(line, "XKBLAYOUT"); !v.empty()) layout = v;
        if (std::string v = DefaultsValue(line, "XKBVARIANT"); !v.empty()) variant = v;
        if (std::string v = DefaultsValue(line, "XKBMODEL"); !v.empty()) model = v;
        if (std::string v = DefaultsValue(line, "XKBOPTIONS"); !v.empty()) options = v;
    }
    if (layout.empty()) return nullptr;
    return FromNames(layout, variant, model, options);
}

std::string KeyLayout::TypedName(int vk) const {
    const int evdev = CharacterKeyPosition(vk);
    if (evdev == 0) return {};
    const auto code = static_cast<xkb_keycode_t>(evdev + 8);
    char text[16] = {};
    const int n = xkb_state_key_get_utf8(impl_->state, code, text, sizeof text);
    QString s = n > 0 && static_cast<std::size_t>(n) < sizeof text ? QString::fromUtf8(text, n) : QString();
    if (s.isEmpty()) {
        if (const char* dead = DeadKeyText(xkb_state_key_get_one_sym(impl_->state, code))) s = QString::fromUtf8(dead);
    }
    // Control characters type nothing to show.
    if (s.isEmpty() || !s.at(0).isPrint()) return {};
    // One character upper-cased as one ("ß" stays, it has no capital of its own here).
    if (s.size() == 1) s = QString(s.at(0).toUpper());
    return s.toStdString();
}

const KeyLayoutSource* SessionKeyLayout() {
    static const std::unique_ptr<KeyLayout> layout = [] {
        std::unique_ptr<KeyLayout> x11;
        if (QGuiApplication::platformName() == QLatin1String("xcb")) x11 = KeyLayout::FromX11();
        return x11 ? std::move(x11) : KeyLayout::Configured();
    }();
    return layout.get();
}

}  // namespace quobel
