#include "framework/session/dbgeral.h"

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

// The driver's own text is in English; the user is told what to check instead.
QString whatToCheck(DatabaseUrl::Kind kind) {
    if (kind == DatabaseUrl::Kind::SQLite)
        return QStringLiteral("verifique se a pasta do arquivo existe e se pode ser lida e gravada.");
    return QStringLiteral("verifique se o servidor PostgreSQL está no ar e se o endereço, o usuário, a "
                          "senha e o nome do banco estão certos.");
}

} // namespace

void TdtmDBGeral::open(const QString &url) {
    const DatabaseUrl parsed = DatabaseUrl::parse(url);
    close();
    QSqlDatabase db = addConnection(parsed);
    if (!db.open()) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw std::runtime_error(QStringLiteral("Não foi possível abrir o banco de dados %1: %2")
                                     .arg(parsed.display(), whatToCheck(parsed.kind))
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
