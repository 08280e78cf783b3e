#pragma once
// CKBColorDlg: the keyboard picture, one cell per key with its colour and intensity; a
// click on a key either opens the function picker (mode 1, key functions) or goes to
// the keyboard lighting page (mode 2, lighting), where keys can also be painted by
// dragging a selection rectangle. In lighting mode it runs the lighting preview: the
// frame state machines write the cells, the picture only draws them.

#include <QElapsedTimer>
#include <QImage>
#include <QPolygon>
#include <QTimer>

#include <array>
#include <memory>
#include <vector>

#include "config/key_info.h"
#include "lighting/kb_preview.h"
#include "ui/pages/page.h"

namespace quobel {

class CKBColorDlg : public CPicturePage {
    Q_OBJECT
public:
    static constexpr int kModeKeys = 1;
    static constexpr int kModeLighting = 2;
    static constexpr int kSlots = lighting::kKbSlots;
    static constexpr int kPreviewTimer = 122;  // the preview's frame timer
    // The key functions shown in key-function mode: what a key does alone, or with Fn held.
    static constexpr int kLayerMain = 0;
    static constexpr int kLayerFn = 1;

    CKBColorDlg(PageHost& host, QWidget* parent);
    ~CKBColorDlg() override;

    void SetMode(int mode);
    [[nodiscard]] int Mode() const { return m_nMode; }
    // Sets the colour of every key cell to 0 and repaints.
    void ClearCellColours();
    // While true the window hands every key press to OnCaptureKey: a reactive preview runs.
    [[nodiscard]] bool IsCapturing() const;
    void OnCaptureKey(int vk, bool release);

    // Key cells.
    [[nodiscard]] int KeyCount() const { return m_setup.keyCount; }
    [[nodiscard]] Colour CellColour(int slot) const;
    [[nodiscard]] int CellIntensity(int slot) const;
    void SetCellColour(int slot, Colour c);
    // The key's function differs from the factory function (mode 1 mark).
    void SetChanged(int slot, bool changed);
    [[nodiscard]] bool IsChanged(int slot) const { return slot >= 0 && slot < kSlots && m_changed[slot]; }
    // What the mark compares: the function, its modifiers and its two keys.
    [[nodiscard]] static bool DiffersFromFactory(const KeyFunction& now, const KeyFunction& factory);
    // The key acts as the keyboard's Fn key.
    [[nodiscard]] static bool IsFnKey(const KeyInfo& key);
    // The layer whose functions the marks show; the Fn layer dims the keys without one.
    void SetLayer(int layer);
    [[nodiscard]] int Layer() const { return m_nLayer; }
    [[nodiscard]] QRect KeyRect(int slot) const;
    [[nodiscard]] int HitTest(QPoint pt) const;
    [[nodiscard]] int SelectedKey() const { return m_nSelKey; }
    void SetSelectedKey(int slot);
    // Slots inside the last selection rectangle.
    [[nodiscard]] const std::vector<int>& Selection() const { return m_selection; }
    // Lighting mode: clicks and drags paint keys.
    void SetPaintMode(bool on) { m_bPaint = on; }
    [[nodiscard]] bool PaintMode() const { return m_bPaint; }

    // The preview: a new one replaces the running one; a type without a preview stops it.
    void StartPreview(int type, const lighting::KbPreviewParams& params);
    // Stops the preview and clears the cells.
    void StopPreview();
    [[nodiscard]] bool PreviewRunning() const { return m_preview != nullptr; }
    [[nodiscard]] bool PreviewTimerActive() const { return m_timer.isActive(); }
    // The preview's frame interval (the timer fires at most every kMinTick ms and then
    // computes the frames due).
    [[nodiscard]] int PreviewInterval() const { return m_preview ? m_preview->Interval() : 0; }
    // Computes frames as the timer does (screenshots, measuring).
    void AdvancePreview(int frames);
    void SetRandomSource(std::unique_ptr<lighting::RandomSource> random);
    [[nodiscard]] const lighting::KbPreviewSetup& Setup() const { return m_setup; }

    void SetPreviewPause(bool pause) override;
    // Marks the keys whose function in the shown layer differs from the factory function.
    void RefreshFromProfile() override;
    void ReloadSkin() override;

signals:
    // UM_KEYCLICK: a key cell (slot 0..149) was clicked.
    void keyClicked(int slot);
    // UM_KEYRCLICK: a selection rectangle was finished (Selection()); slot: the selected key.
    void keyRightClicked(int slot);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildImages();
    void UpdateTimer();
    void OnTick();
    void Advance(int frames);
    void ResetIntensities();
    void DrawCell(QPainter& p, int slot, Colour c, int alpha) const;
    [[nodiscard]] int DefaultIntensity() const;

    lighting::KbPreviewSetup m_setup;
    std::array<lighting::SlotLight, kSlots> m_light{};
    std::array<bool, kSlots> m_changed{};
    QPolygon m_unRect;      // outline of the polygon key
    int m_nUnRectSlot = -1;
    int m_nMode = kModeLighting;
    int m_nLayer = kLayerMain;
    int m_nSelKey = -1;
    int m_nHover = -1;
    bool m_bPaint = false;
    bool m_bSelecting = false;
    QPoint m_ptAnchor;
    QRect m_rcSel;
    std::vector<int> m_selection;
    bool m_bFrameKey = true;
    Colour m_clrKeyOv = 0;
    Colour m_clrKeyDn = 0;
    QImage m_imgBase;  // background and keyboard, premultiplied
    QImage m_imgTop;   // the keyboard drawn over the keys (draw type 1)
    std::unique_ptr<lighting::RandomSource> m_random;
    std::unique_ptr<lighting::Preview> m_preview;  // uses m_random: declared after it
    QTimer m_timer;
    QElapsedTimer m_clock;     // since the timer started
    qint64 m_nFramesDone = 0;  // frames computed since then
    // Wake-ups, not drawing, are most of a frame's cost: at most 40 a second, the
    // frames due computed together.
    static constexpr int kMinTick = 25;
    static constexpr int kMaxCatchUp = 8;   // frames computed at most per tick
    static constexpr int kMaxDirtyKeys = 16;  // more changed keys repaint the whole picture
    QWidget* m_pWatched = nullptr;
};

}  // namespace quobel
