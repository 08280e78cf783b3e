#pragma once
// The device-description steps of data init, in the order data init calls them.

#include "base/reporter.h"
#include "config/config.h"
#include "platform/ini.h"

namespace quobel {

// Step 1: the built-in sensor table of this configuration.
void BuildSensorTable(Config& config);
// Called by the [OPT] reader for each configured device kind (mouse, keyboard, pad).
void ReadMouseDescription(const IniFile& cfg, Config& config, Reporter& reporter);
void ReadKeyboardDescription(const IniFile& cfg, Config& config, Reporter& reporter);
void ReadPadDescription(const IniFile& cfg, Config& config, Reporter& reporter);
// Step 3 (mouse configured): lay out and check the button lists.
void LayoutButtonLists(Config& config, Reporter& reporter);
// Step 4 (KbFw 20): the Fn layer, and the gesture keys when [KB] ShowGest is set.
void ReadFnAndGestures(const IniFile& cfg, Config& config, Reporter& reporter);

}  // namespace quobel
