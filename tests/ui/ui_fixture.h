#pragma once
// Shared set-up of the GUI tests: one offscreen application, options with the default
// colours, and a skin context over the build's program folder.

#include <QApplication>

#include "base/reporter.h"
#include "config/gvar.h"
#include "config/text_table.h"
#include "ui/skin/skin.h"

namespace quobel::test {

// The process's QApplication, created on first use.
QApplication& App();

struct UiEnv {
    UiEnv();
    GVar gvar;
    TextTable texts;
    CollectingReporter reporter;
    SkinContext ctx;
};

// The options' colour defaults, and the skins table of the shipped cfg.ini.
void SetDefaultOptions(GVar& gvar);

}  // namespace quobel::test
