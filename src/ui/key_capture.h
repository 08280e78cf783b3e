#pragma once
// Taking every key for a capture: the key combination boxes and macro recording.

#include <functional>

class QEvent;

namespace quobel {

// Takes a key event for a capture: a shortcut is overridden (every key belongs to the
// capture), and each press and release goes to `key` as a virtual-key code; a held key
// repeats as presses only, as the system's key messages do (Qt repeats it as release
// and press pairs). False, and the event untouched, for any other event.
bool TakeCaptureKey(QEvent* event, const std::function<void(int vk, bool release)>& key);

}  // namespace quobel
