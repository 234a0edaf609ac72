#include "tests/appserver/server/inprocessserver.h"

#include "framework/net/netconnection.h"
#include "framework/net/password.h"
#include "tests/appserver/server/echomodule.h"

#include <QSqlDatabase>

namespace {

ServerBackend memoryBackend() {
    ServerBackend backend;
    backend.openDatabase = [](const QString &name) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QStringLiteral(":memory:"));
        db.open();
        return db;
    };
    backend.passwordHash = [stored = hashPassword(QStringLiteral("segredo"))](QSqlDatabase &,
                                                                              const QString &code) {
        return code == QLatin1StringView("admin") ? stored : QString();
    };
    backend.replacePasswordHash = [](QSqlDatabase &, const QString &, const QString &) {};
    return backend;
}

ModuleRegistry echoOnly() {
    ModuleRegistry modules;
    modules.add<EchoModule>();
    return modules;
}

} // namespace

InProcessServer::InProcessServer(ServerSettings settings)
    : m_listener(std::move(settings), memoryBackend(), echoOnly()) {}

std::unique_ptr<TNetConnection> InProcessServer::connection(const QString &password) const {
    TNetConnection::setCredentialsProvider([password] {
        return NetCredentials{QStringLiteral("admin"), password};
    });
    auto net = std::make_unique<TNetConnection>();
    net->setServerName(EchoModule::name());
    net->setPort(port());
    return net;
}
