#include "ui/pages/preview_timer.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace quobel {

PreviewTimer::PreviewTimer(QWidget* picture) : QObject(picture), m_picture(picture) {
    // Showing, hiding and minimising change whether the timer runs.
    picture->installEventFilter(this);
}

void PreviewTimer::Update(int interval, bool paused) {
    m_interval = interval;
    m_paused = paused;
    QWidget* top = m_picture->window();
    if (top != m_picture && top != m_window) {
        if (m_window) m_window->removeEventFilter(this);
        m_window = top;
        top->installEventFilter(this);
    }
    const bool run = interval > 0 && !paused && m_picture->isVisible() && !(top && top->isMinimized());
    if (run && !m_timer.isActive()) {
        m_clock.start();
        m_nFramesDone = 0;
        m_timer.start(std::max(interval, kMinTick), m_picture);
    }
    if (!run) m_timer.stop();
}

int PreviewTimer::FramesDue() {
    if (m_interval <= 0 || !m_clock.isValid()) return 1;
    const qint64 due = m_clock.elapsed() / m_interval;
    const int frames = static_cast<int>(std::clamp<qint64>(due - m_nFramesDone, 1, kMaxCatchUp));
    // After a stall the animation goes on from now rather than racing to catch up.
    m_nFramesDone = std::max(due, m_nFramesDone + 1);
    return frames;
}

bool PreviewTimer::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type t = event->type();
    if ((watched == m_picture && (t == QEvent::Show || t == QEvent::Hide)) ||
        (watched == m_window && t == QEvent::WindowStateChange))
        Update(m_interval, m_paused);
    return QObject::eventFilter(watched, event);
}

}  // namespace quobel
