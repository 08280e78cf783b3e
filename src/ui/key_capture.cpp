#include "ui/key_capture.h"

#include <QKeyEvent>

#include "ui/keymap.h"

namespace quobel {

bool TakeCaptureKey(QEvent* event, const std::function<void(int vk, bool release)>& key) {
    const QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
    const auto* k = static_cast<QKeyEvent*>(event);
    if (!(k->isAutoRepeat() && type == QEvent::KeyRelease)) key(KeyEventToVk(*k), type == QEvent::KeyRelease);
    event->accept();
    return true;
}

}  // namespace quobel
