#include "framework/session/dbgeral.h"

#include <QSqlError>
#include <stdexcept>

namespace {

const QString connectionName = QStringLiteral("dtmDBGeral");

QSqlDatabase addConnection(const DatabaseUrl &url) {
    if (url.kind == DatabaseUrl::Kind::SQLite) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(url.path);
        return db;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    db.setHostName(url.host);
    db.setPort(url.port);
    db.setUserName(url.user);
    db.setPassword(url.password);
    db.setDatabaseName(url.database);
    return db;
}

} // namespace

void TdtmDBGeral::open(const QString &url) {
    const DatabaseUrl parsed = DatabaseUrl::parse(url);
    close();
    QSqlDatabase db = addConnection(parsed);
    if (!db.open()) {
        const QString reason = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw std::runtime_error(QStringLiteral("Não foi possível abrir o banco de dados %1: %2")
                                     .arg(parsed.display(), reason)
                                     .toStdString());
    }
    m_dialect = parsed.kind == DatabaseUrl::Kind::SQLite ? SqlDialect::SQLite : SqlDialect::PostgreSQL;
    m_displayUrl = parsed.display();
}

void TdtmDBGeral::close() {
    if (!QSqlDatabase::contains(connectionName))
        return;
    QSqlDatabase::database(connectionName, false).close();
    QSqlDatabase::removeDatabase(connectionName);
    m_displayUrl.clear();
}

bool TdtmDBGeral::isOpen() const {
    return QSqlDatabase::contains(connectionName) && QSqlDatabase::database(connectionName, false).isOpen();
}

QSqlDatabase TdtmDBGeral::database() const {
    if (!isOpen())
        throw std::runtime_error("O banco de dados da sessão não está aberto.");
    return QSqlDatabase::database(connectionName, false);
}

TdtmDBGeral *dtmDBGeral() {
    static TdtmDBGeral module;
    return &module;
}
