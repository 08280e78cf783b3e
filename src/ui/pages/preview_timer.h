#pragma once
// The frame timer of a device picture's lighting preview: it runs only while a preview
// with frames is set and the picture is shown, not paused and its window not minimised.
// Wake-ups, not drawing, are most of a frame's cost, so it fires at most every kMinTick
// ms and tells how many frames of the preview's own interval are due, which keeps the
// animation at its speed.

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QObject>

class QWidget;

namespace quobel {

class PreviewTimer : public QObject {
    Q_OBJECT
public:
    static constexpr int kMinTick = 40;
    static constexpr int kMaxCatchUp = 8;  // frames computed at most per tick

    // picture receives the timer events (timerId() tells them apart).
    explicit PreviewTimer(QWidget* picture);

    // Starts or stops the timer for a preview of that interval (0: none).
    void Update(int interval, bool paused);
    [[nodiscard]] bool Running() const { return m_timer.isActive(); }
    [[nodiscard]] int TimerId() const { return m_timer.timerId(); }
    // At a tick: the frames due since the last one, 1..kMaxCatchUp.
    int FramesDue();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_picture;
    QObject* m_window = nullptr;
    QBasicTimer m_timer;
    QElapsedTimer m_clock;     // since the timer started
    qint64 m_nFramesDone = 0;  // frames due counted since then
    int m_interval = 0;
    bool m_paused = false;
};

}  // namespace quobel
