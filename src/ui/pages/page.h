#pragma once
// The seam between the main window and its setting pages.
//
// The window owns the profile, the configuration, the device objects and the apply
// threads; a page edits the current profile through its host and keeps no second copy
// of the truth. The window calls the operations below (refresh after a profile, device
// or sensor change; store before an apply; texts and skin after the driver settings);
// a page reaches a device only through RequestApply (and the mouse's key-mode switch
// through the transport, the one direct write).

#include <QImage>
#include <QWidget>

#include <cstdint>

#include "config/config.h"
#include "config/device_kinds.h"
#include "macro/macro_list.h"
#include "profile/profile_data.h"

namespace quobel {

class CHidDev;
class CHidDrv;
class Log;
class Modals;
struct SkinContext;

class PageHost {
public:
    virtual ~PageHost() = default;

    [[nodiscard]] virtual const SkinContext& Skin() const = 0;
    // The configuration as read at start, with the current sensor of the mouse.
    [[nodiscard]] virtual Config& Cfg() = 0;
    // The current profile; null when there is none (a page then shows nothing).
    [[nodiscard]] virtual ProfileData* CurrentProfile() = 0;
    // Every macro of the macro folder.
    [[nodiscard]] virtual MacroList& Macros() = 0;
    // A configured kind's objects; null when the kind is not configured.
    [[nodiscard]] virtual CHidDrv* Transport(DeviceKind kind) = 0;
    [[nodiscard]] virtual CHidDev* Device(DeviceKind kind) = 0;
    // Asks the kind's apply thread to write the current profile's blocks of `flags`
    // (no progress window). Pages call it where the option ApplyNow is set.
    virtual void RequestApply(DeviceKind kind, std::uint32_t flags) = 0;
    // The same, except that while a request of the kind still waits behind a running
    // apply this one joins it instead of queueing another (ApplyThreads::
    // RequestApplyJoining): the pad lighting page's requests.
    virtual void RequestApplyJoining(DeviceKind kind, std::uint32_t flags) = 0;
    // 1 while a modal window or a colour picker is open: the selected kind's picture
    // stops its lighting preview.
    virtual void PausePreview(bool pause) = 0;
    // Every modal box, dialog and file chooser goes through this.
    [[nodiscard]] virtual Modals& Modal() = 0;
    [[nodiscard]] virtual Log& GetLog() = 0;
    // The top-level window: dialogs centre over it, background drags move it.
    [[nodiscard]] virtual QWidget* Window() = 0;
};

// A setting page or picture hosted by the main window.
class CPage : public QWidget {
    Q_OBJECT
public:
    CPage(PageHost& host, QWidget* parent);

    // Shows the current profile's settings.
    virtual void RefreshFromProfile() {}
    // Writes what the page shows into the current profile (before an apply).
    virtual void StoreToProfile() {}
    // After a language change.
    virtual void ReloadTexts() {}
    // After a skin change: pictures loaded again.
    virtual void ReloadSkin() {}

    // The selected skin's main window background ("main_nr.png"); null when missing.
    [[nodiscard]] QImage WindowBackground() const;
    // The part of the window background under this page, as its own background.
    [[nodiscard]] QImage BackgroundUnder(const QImage& window_background) const;

protected:
    PageHost& m_host;
};

// A device picture with a lighting preview (mouse, keyboard, pad).
class CPicturePage : public CPage {
    Q_OBJECT
public:
    using CPage::CPage;

    // While set, the preview is neither advanced nor drawn.
    virtual void SetPreviewPause(bool pause) { m_bPreviewPause = pause; }
    [[nodiscard]] bool PreviewPaused() const { return m_bPreviewPause; }

protected:
    bool m_bPreviewPause = false;
};

}  // namespace quobel
