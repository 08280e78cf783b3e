#pragma once
// One running instance per user and build: a local socket named by tc_mutex (or
// "MUTEX_QX_COMBO5307"), with the user's id in the name. A second start connects,
// asks the first to show itself and ends. A socket file left behind by a killed
// instance accepts no connection; it is removed and taken over.

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace quobel {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kDefaultName = "MUTEX_QX_COMBO5307";
    static constexpr const char* kActivate = "activate";

    // mutex_text: the text tc_mutex, may be empty.
    explicit SingleInstance(const QString& mutex_text, QObject* parent = nullptr);

    // True when this process is the first (it now listens). False when another
    // instance answered: it has been asked to show itself.
    bool Acquire();
    [[nodiscard]] QString ServerName() const { return m_name; }

    // The name for a tc_mutex text and a user id.
    [[nodiscard]] static QString NameFor(const QString& mutex_text, unsigned uid);

signals:
    // A second start asked this instance to show itself.
    void activated();

private:
    void OnConnection();

    QString m_name;
    QLocalServer m_server;
};

}  // namespace quobel
