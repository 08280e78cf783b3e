#pragma once
// The named states that `quobel --screenshot DIR` renders, one PNG each.

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace quobel {

class CQuobelDlg;

// What a state function works with: the window (fresh for every state, shown, over
// the simulated devices) and a place to keep a dialog it builds for the picture.
struct Shot {
    CQuobelDlg& wnd;
    std::unique_ptr<QWidget> owned;  // destroyed after the picture was taken
};

struct ScreenshotState {
    const char* name;  // the file name without ".png"
    // Puts the window into the state, or builds the dialog of the state, and returns
    // what to photograph (the window or the dialog).
    QWidget* (*setup)(Shot& shot);
};

// Every state, in the order they are rendered.
[[nodiscard]] std::span<const ScreenshotState> ScreenshotStates();

// Renders each state into dir/<name>.png. make_window builds a fresh window that has
// run OnInitDialog (null: the state fails). Returns the number of failures.
int RenderScreenshots(const QString& dir, const std::function<std::unique_ptr<CQuobelDlg>()>& make_window);

}  // namespace quobel
