#include "tests/appserver/server/inprocessserver.h"

#include "framework/net/netconnection.h"
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
    backend.checkOperator = [](QSqlDatabase &, const QString &code, const QString &password) {
        return code == QLatin1StringView("admin") && password == QLatin1StringView("segredo");
    };
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
