#include "ui/main/single_instance.h"

#include <QLocalSocket>

#include <unistd.h>

namespace quobel {

namespace {
constexpr int kConnectMs = 500;
}

QString SingleInstance::NameFor(const QString& mutex_text, unsigned uid) {
    return (mutex_text.isEmpty() ? QString::fromLatin1(kDefaultName) : mutex_text) + QStringLiteral("-%1").arg(uid);
}

SingleInstance::SingleInstance(const QString& mutex_text, QObject* parent)
    : QObject(parent), m_name(NameFor(mutex_text, static_cast<unsigned>(getuid()))) {
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
}

bool SingleInstance::Acquire() {
    {
        QLocalSocket probe;
        probe.connectToServer(m_name);
        if (probe.waitForConnected(kConnectMs)) {
            probe.write(kActivate);
            probe.waitForBytesWritten(kConnectMs);
            probe.disconnectFromServer();
            return false;
        }
    }
    // Nobody answers: whatever socket file is there belongs to a dead instance.
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server.listen(m_name)) return true;
    QLocalServer::removeServer(m_name);
    return m_server.listen(m_name);
}

void SingleInstance::OnConnection() {
    while (QLocalSocket* s = m_server.nextPendingConnection()) {
        connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        connect(s, &QLocalSocket::readyRead, this, [this, s] {
            if (s->readAll().contains(kActivate)) emit activated();
        });
    }
}

}  // namespace quobel
