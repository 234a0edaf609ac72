#include "tests/appserver/server/inprocessserver.h"

#include "framework/net/netconnection.h"
#include "tests/appserver/server/echomodule.h"

#include <QSqlDatabase>

InProcessServer::InProcessServer(ServerSettings settings) {
    m_modules.add<EchoModule>();
    settings.port = 0;
    ServerBackend backend;
    backend.openDatabase = [](const QString &name) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QStringLiteral(":memory:"));
        db.open();
        return db;
    };
    backend.checkOperator = [](QSqlDatabase &, const QString &code, const QString &password) {
        return code == QLatin1StringView("admin") && password == QLatin1StringView("segredo");
    };
    backend.modules = &m_modules;
    m_listener = new Listener(settings, backend);
    m_listener->moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_listener, [this] { m_port = m_listener->start() ? m_listener->serverPort() : 0; },
        Qt::BlockingQueuedConnection);
}

InProcessServer::~InProcessServer() {
    QMetaObject::invokeMethod(
        m_listener, [this] { delete m_listener; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

std::unique_ptr<TNetConnection> InProcessServer::connection(const QString &password) const {
    TNetConnection::setCredentialsProvider([password] {
        return NetCredentials{QStringLiteral("admin"), password};
    });
    auto net = std::make_unique<TNetConnection>();
    net->setServerName(EchoModule::name());
    net->setPort(m_port);
    return net;
}
