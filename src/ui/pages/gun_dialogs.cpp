#include "ui/pages/gun_dialogs.h"

namespace quobel {

bool RunGunDialog(PageHost& host, QWidget* parent, KeyInfo& key) {
    (void)host;
    (void)parent;
    (void)key;
    return false;
}

bool RunGunModeDialog(PageHost& host, QWidget* parent, KeyInfo& key) {
    (void)host;
    (void)parent;
    (void)key;
    return false;
}

}  // namespace quobel
