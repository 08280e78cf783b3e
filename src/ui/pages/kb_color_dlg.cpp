#include "ui/pages/kb_color_dlg.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include <algorithm>

#include "base/log.h"
#include "config/key_info.h"
#include "ui/pages/led_dlg.h"
#include "ui/skin/skin.h"

namespace quobel {

namespace {
QRect ToQRect(const Rect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }
}  // namespace

CKBColorDlg::CKBColorDlg(PageHost& host, QWidget* parent)
    : CPicturePage(host, parent), m_random(std::make_unique<lighting::DefaultRandom>()) {
    const KbDevCfg& kb = host.Cfg().gVar.KbDev;
    m_setup = lighting::KbPreviewSetupFrom(host.Cfg());
    m_bFrameKey = kb.bFrameKey != 0;
    m_clrKeyOv = kb.clrKeyOv;
    m_clrKeyDn = kb.clrKeyDn;
    const int points = std::clamp(kb.UnRectKey.nPointNum, 0, kUnRectPoints);
    if (points >= 3 && kb.UnRectKey.nKeyId >= 0 && kb.UnRectKey.nKeyId < m_setup.keyCount) {
        m_nUnRectSlot = kb.UnRectKey.nKeyId;
        for (int i = 0; i < points; ++i) m_unRect << QPoint(kb.UnRectKey.ptOutline[i].x, kb.UnRectKey.ptOutline[i].y);
    }
    setGeometry(ToQRect(kb.rcKB).adjusted(0, 0, 1, 1));
    setMouseTracking(true);
    // The cached picture covers every pixel: the window below is not painted again.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CKBColorDlg::OnTick);
    ResetIntensities();
    BuildImages();
    if (QWidget* top = window(); top != this) {
        m_pWatched = top;
        top->installEventFilter(this);
    }
}

CKBColorDlg::~CKBColorDlg() {
    if (m_pWatched) m_pWatched->removeEventFilter(this);
}

int CKBColorDlg::DefaultIntensity() const { return m_setup.drawType == 1 ? 255 : 200; }

void CKBColorDlg::ResetIntensities() {
    for (auto& l : m_light) l.intensity = DefaultIntensity();
}

void CKBColorDlg::BuildImages() {
    const SkinContext& ctx = m_host.Skin();
    const QImage keys = LoadPicture(ctx.CommonPath(QStringLiteral("keyimg.png")))
                            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // Opaque (the window background under it), so each frame's copy needs no blending.
    m_imgBase = QImage(size(), QImage::Format_RGB32);
    m_imgBase.fill(ToQColor(m_host.Cfg().gVar.clrPopWndBkg));
    QPainter p(&m_imgBase);
    const QImage bkg = MainBackgroundUnder(ctx, this);
    if (!bkg.isNull()) p.drawImage(0, 0, bkg);
    m_imgTop = {};
    if (m_setup.drawType == 1) {
        p.fillRect(rect(), FromArgb(0xFF141414));
        m_imgTop = keys;
    } else if (!keys.isNull()) {
        p.drawImage(0, 0, keys);
    }
}

void CKBColorDlg::ReloadSkin() {
    BuildImages();
    update();
}

void CKBColorDlg::SetMode(int mode) {
    if (mode == m_nMode) return;
    m_nMode = mode;
    m_bSelecting = false;
    m_rcSel = {};
    UpdateTimer();
    update();
}

void CKBColorDlg::ClearCellColours() {
    for (auto& l : m_light) l.colour = 0;
    update();
}

Colour CKBColorDlg::CellColour(int slot) const {
    return slot >= 0 && slot < kSlots ? m_light[slot].colour : 0;
}

int CKBColorDlg::CellIntensity(int slot) const {
    return slot >= 0 && slot < kSlots ? std::max(0, m_light[slot].intensity) : 0;
}

void CKBColorDlg::SetCellColour(int slot, Colour c) {
    if (slot < 0 || slot >= kSlots || m_light[slot].colour == c) return;
    m_light[slot].colour = c;
    update(KeyRect(slot).adjusted(-1, -1, 1, 1));
}

void CKBColorDlg::SetChanged(int slot, bool changed) {
    if (slot >= 0 && slot < kSlots) m_changed[slot] = changed;
}

bool CKBColorDlg::DiffersFromFactory(const KeyFunction& now, const KeyFunction& factory) {
    return now.FunID != factory.FunID || now.byModifier != factory.byModifier || now.byVk != factory.byVk ||
           now.byVk2 != factory.byVk2;
}

bool CKBColorDlg::IsFnKey(const KeyInfo& key) {
    return FunType(key.FunID) == kFunKeyCombo && key.byModifier == 0 && key.byVk == kVkFn;
}

void CKBColorDlg::SetLayer(int layer) {
    if (layer == m_nLayer) return;
    m_nLayer = layer;
    RefreshFromProfile();
}

void CKBColorDlg::RefreshFromProfile() {
    const ProfileData* pro = m_host.CurrentProfile();
    const auto& def = m_host.Cfg().g_defKEY;
    for (int i = 0; i < kSlots; ++i) {
        m_changed[i] = false;
        if (pro == nullptr || i >= m_setup.keyCount) continue;
        const KeyInfo& k = pro->Kb.Keys[i];
        m_changed[i] = m_nLayer == kLayerFn ? k.nFnInx != -1 && DiffersFromFactory(k.FnFun, def[i].FnFun)
                                            : DiffersFromFactory(FunctionOf(k), FunctionOf(def[i]));
    }
    update();
}

QRect CKBColorDlg::KeyRect(int slot) const {
    if (slot < 0 || slot >= m_setup.keyCount) return {};
    return ToQRect(m_setup.keys[slot].rc);
}

int CKBColorDlg::HitTest(QPoint pt) const {
    for (int i = 0; i < m_setup.keyCount; ++i) {
        if (i == m_nUnRectSlot) {
            if (m_unRect.containsPoint(pt, Qt::OddEvenFill)) return i;
        } else if (KeyRect(i).contains(pt)) {
            return i;
        }
    }
    return -1;
}

void CKBColorDlg::SetSelectedKey(int slot) {
    m_nSelKey = slot;
    update();
}

bool CKBColorDlg::IsCapturing() const {
    return m_preview && m_preview->Reactive() && m_nMode == kModeLighting && !m_bPreviewPause;
}

void CKBColorDlg::OnCaptureKey(int vk, bool release) {
    if (release || !IsCapturing()) return;
    const int slot = lighting::SlotOfVk(m_setup, vk);
    if (slot < 0) return;
    m_preview->Press(slot, m_light);
    update();
}

void CKBColorDlg::StartPreview(int type, const lighting::KbPreviewParams& params) {
    std::unique_ptr<lighting::Preview> preview = lighting::MakeKbPreview(type, params, m_setup, *m_random);
    if (!preview) {
        StopPreview();
        return;
    }
    m_timer.stop();
    m_preview = std::move(preview);
    m_preview->Start(m_light);
    UpdateTimer();
    update();
}

void CKBColorDlg::StopPreview() {
    m_timer.stop();
    m_preview.reset();
    for (auto& l : m_light) l = {0, DefaultIntensity()};
    update();
}

void CKBColorDlg::AdvancePreview(int frames) {
    if (m_preview && frames > 0) Advance(frames);
}

void CKBColorDlg::SetRandomSource(std::unique_ptr<lighting::RandomSource> random) {
    if (!random) return;
    StopPreview();  // the running preview draws from the old source
    m_random = std::move(random);
}

void CKBColorDlg::SetPreviewPause(bool pause) {
    CPicturePage::SetPreviewPause(pause);
    UpdateTimer();
    update();
}

void CKBColorDlg::UpdateTimer() {
    const bool run = m_preview && m_preview->Interval() > 0 && !m_bPreviewPause && m_nMode == kModeLighting &&
                     isVisible() && !window()->isMinimized();
    if (!run) {
        m_timer.stop();
    } else if (!m_timer.isActive()) {
        m_clock.start();
        m_nFramesDone = 0;
        m_timer.start(std::max(m_preview->Interval(), kMinTick));
    }
}

void CKBColorDlg::OnTick() {
    if (!m_preview || m_bPreviewPause || m_nMode != kModeLighting) {
        UpdateTimer();
        return;
    }
    // The timer fires at most every kMinTick ms; the frames due since the last tick are
    // computed at the preview's own interval, so the animation keeps its speed.
    const int interval = m_preview->Interval();
    const qint64 due = m_clock.elapsed() / interval;
    const int frames = static_cast<int>(std::clamp<qint64>(due - m_nFramesDone, 1, kMaxCatchUp));
    m_nFramesDone = std::max(due, m_nFramesDone + 1);
    Advance(frames);
}

void CKBColorDlg::Advance(int frames) {
    const auto before = m_light;
    for (int i = 0; i < frames; ++i) m_preview->Tick(m_light);
    // A few changed keys are repainted alone; many make a region whose clipping costs
    // more than drawing the whole picture.
    QRegion dirty;
    int changed = 0;
    for (int i = 0; i < m_setup.keyCount; ++i) {
        const bool shown_before = before[i].colour != 0, shown = m_light[i].colour != 0;
        if (shown_before == shown && (!shown || (before[i].colour == m_light[i].colour &&
                                                 std::clamp(before[i].intensity, 0, 255) ==
                                                     std::clamp(m_light[i].intensity, 0, 255))))
            continue;
        if (++changed > kMaxDirtyKeys) {
            update();
            return;
        }
        dirty += i == m_nUnRectSlot ? m_unRect.boundingRect() : KeyRect(i);
    }
    if (!dirty.isEmpty()) update(dirty);
}

void CKBColorDlg::showEvent(QShowEvent*) { UpdateTimer(); }
void CKBColorDlg::hideEvent(QHideEvent*) { UpdateTimer(); }

void CKBColorDlg::moveEvent(QMoveEvent*) { BuildImages(); }

bool CKBColorDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pWatched && (event->type() == QEvent::WindowStateChange || event->type() == QEvent::Show ||
                                  event->type() == QEvent::Hide))
        UpdateTimer();
    return false;
}

void CKBColorDlg::DrawCell(QPainter& p, int slot, Colour c, int alpha) const {
    const QRect r = KeyRect(slot);
    if (slot == m_nUnRectSlot) {
        QPainterPath path;
        path.addPolygon(QPolygonF(m_unRect));
        path.closeSubpath();
        p.fillPath(path, ToQColor(c, alpha));
        return;
    }
    // One-pixel outlines as four fills: much cheaper than stroking, every frame.
    const auto outline = [&p](const QRect& o, const QColor& col) {
        p.fillRect(QRect(o.left(), o.top(), o.width(), 1), col);
        p.fillRect(QRect(o.left(), o.bottom(), o.width(), 1), col);
        p.fillRect(QRect(o.left(), o.top() + 1, 1, o.height() - 2), col);
        p.fillRect(QRect(o.right(), o.top() + 1, 1, o.height() - 2), col);
    };
    if (m_bFrameKey) {
        p.fillRect(r.adjusted(1, 1, -1, -1), ToQColor(c, alpha));
        outline(r, ToQColor(0xC8C8C8, alpha));
    } else {
        p.fillRect(r.adjusted(2, 2, -2, -2), ToQColor(c, alpha));
        outline(r.adjusted(1, 1, -1, -1), ToQColor(c, alpha * 3 / 4));
        outline(r, ToQColor(c, alpha / 2));
    }
}

void CKBColorDlg::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setClipRegion(event->region());
    p.drawImage(0, 0, m_imgBase);
    const bool preview_hidden = m_preview && m_bPreviewPause;
    if (!preview_hidden) {
        for (int i = 0; i < m_setup.keyCount; ++i) {
            const Colour c = m_light[i].colour;
            if (c == 0) continue;
            DrawCell(p, i, c, m_nMode == kModeLighting ? std::clamp(m_light[i].intensity, 0, 255) : 255);
        }
    }
    if (m_nMode == kModeKeys) {
        if (m_nLayer == kLayerFn) {
            // Keys without an Fn function recede; the held Fn key shows pressed.
            const ProfileData* pro = m_host.CurrentProfile();
            for (int i = 0; pro && i < m_setup.keyCount; ++i) {
                const KeyInfo& k = pro->Kb.Keys[i];
                if (IsFnKey(k)) {
                    p.setPen(QPen(ToQColor(m_clrKeyDn), 2));
                    p.setBrush(Qt::NoBrush);
                    p.drawRect(KeyRect(i).adjusted(1, 1, -1, -1));
                } else if (k.nFnInx == -1) {
                    p.fillRect(KeyRect(i), QColor(0, 0, 0, 150));
                }
            }
        }
        for (int i = 0; i < m_setup.keyCount; ++i) {
            if (!m_changed[i]) continue;
            const QRect r = KeyRect(i);
            p.fillRect(QRect(r.right() - 5, r.top() + 2, 4, 4), ToQColor(m_clrKeyDn));
        }
        if (m_nHover >= 0) DrawCell(p, m_nHover, m_clrKeyOv, 160);
        if (m_nSelKey >= 0 && m_nSelKey < m_setup.keyCount) {
            p.setPen(ToQColor(m_clrKeyDn));
            p.setBrush(Qt::NoBrush);
            p.drawRect(KeyRect(m_nSelKey).adjusted(0, 0, -1, -1));
        }
    }
    if (!m_imgTop.isNull()) p.drawImage(0, 0, m_imgTop);
    if (m_bSelecting && !m_rcSel.isEmpty()) {
        p.setPen(QColor(200, 200, 200));
        p.setBrush(Qt::NoBrush);
        p.drawRect(m_rcSel.adjusted(0, 0, -1, -1));
    }
}

void CKBColorDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_ptAnchor = event->position().toPoint();
    m_bSelecting = true;
    m_rcSel = {};
}

void CKBColorDlg::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pt = event->position().toPoint();
    if (m_bSelecting) {
        if (m_nMode == kModeLighting && m_bPaint) {
            const QRect old = m_rcSel;
            m_rcSel = QRect(m_ptAnchor, pt).normalized();
            update(old.united(m_rcSel).adjusted(-1, -1, 1, 1));
        }
        return;
    }
    const int hover = HitTest(pt);
    if (hover == m_nHover) return;
    const int old = m_nHover;
    m_nHover = hover;
    if (m_nMode == kModeKeys) {
        update(KeyRect(old).adjusted(-1, -1, 1, 1));
        update(KeyRect(hover).adjusted(-1, -1, 1, 1));
    }
}

void CKBColorDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_bSelecting) return;
    LogPrint("OnLButtonUp: m_bSelecting");
    m_bSelecting = false;
    const QPoint end = event->position().toPoint();
    const QRect sel = QRect(m_ptAnchor, end).normalized();
    m_rcSel = {};
    update();
    const bool painting = m_nMode == kModeLighting && m_bPaint;
    if (m_nMode == kModeLighting && !m_bPaint) return;
    const int first_width = KeyRect(0).width();
    if (!painting || end == m_ptAnchor || sel.width() <= first_width) {
        const int slot = HitTest(end);
        m_nSelKey = slot;
        if (slot >= 0) emit keyClicked(slot);
        return;
    }
    m_selection.clear();
    for (int i = 0; i < m_setup.keyCount; ++i) {
        const QRect r = KeyRect(i);
        if (r.isEmpty()) continue;
        if (sel.contains(r.topLeft()) || sel.contains(r.topRight()) || sel.contains(r.bottomLeft()) ||
            sel.contains(r.bottomRight()))
            m_selection.push_back(i);
    }
    emit keyRightClicked(m_nSelKey);
}

void CKBColorDlg::leaveEvent(QEvent*) {
    m_bSelecting = false;
    if (!m_rcSel.isEmpty()) update(m_rcSel.adjusted(-1, -1, 1, 1));
    m_rcSel = {};
    if (m_nHover >= 0 && m_nMode == kModeKeys) update(KeyRect(m_nHover).adjusted(-1, -1, 1, 1));
    m_nHover = -1;
}

}  // namespace quobel
