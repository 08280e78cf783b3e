// Placeholders until the device descriptions land.
#include "config/device_readers.h"

namespace quobel {

void BuildSensorTable(Config&) {}
void ReadMouseDescription(const IniFile&, Config&, Reporter&) {}
void ReadKeyboardDescription(const IniFile&, Config&, Reporter&) {}
void ReadPadDescription(const IniFile&, Config&, Reporter&) {}
void LayoutButtonLists(Config&, Reporter&) {}
void ReadFnAndGestures(const IniFile&, Config&, Reporter&) {}

}  // namespace quobel
