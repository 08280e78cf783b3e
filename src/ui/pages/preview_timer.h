#pragma once
// The frame timer of a device picture's lighting preview: it runs only while a preview
// with frames is set and the picture is shown, not paused and its window not minimised.

#include <QBasicTimer>
#include <QObject>

class QWidget;

namespace quobel {

class PreviewTimer : public QObject {
    Q_OBJECT
public:
    // picture receives the timer events (timerId() tells them apart).
    explicit PreviewTimer(QWidget* picture);

    // Starts or stops the timer for a preview of that interval (0: none).
    void Update(int interval, bool paused);
    [[nodiscard]] bool Running() const { return m_timer.isActive(); }
    [[nodiscard]] int TimerId() const { return m_timer.timerId(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_picture;
    QObject* m_window = nullptr;
    QBasicTimer m_timer;
    int m_interval = 0;
    bool m_paused = false;
};

}  // namespace quobel
