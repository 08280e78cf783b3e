#pragma once
// The gun dialog (one gun) and the gun-mode dialog (two gun slots) of the gun-mode
// mouse, opened from the mouse button page's menu, which stores their result.
// Not built yet: both answer Cancel.

class QWidget;

namespace quobel {

class PageHost;
struct KeyInfo;

// Runs the gun dialog for a button's record; true on OK with key holding the gun function.
bool RunGunDialog(PageHost& host, QWidget* parent, KeyInfo& key);
// Runs the gun-mode dialog; true on OK with key holding the two-gun function.
bool RunGunModeDialog(PageHost& host, QWidget* parent, KeyInfo& key);

}  // namespace quobel
