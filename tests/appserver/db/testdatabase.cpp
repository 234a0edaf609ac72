#include "testdatabase.h"
#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "framework/net/password.h"

#include <QCoreApplication>
#include <QUrl>

namespace {

QString pgAdminUrl() {
    return qEnvironmentVariable("PAG_TEST_PG_URL");
}

QString uniqueName(const char *prefix) {
    static int counter = 0;
    return QStringLiteral("%1_%2_%3")
        .arg(QLatin1String(prefix))
        .arg(QCoreApplication::applicationPid())
        .arg(++counter);
}

// Runs one statement on the cluster's maintenance database.
void adminExec(const QString &sql) {
    const QString name = uniqueName("pagadmin");
    {
        QSqlDatabase admin = openDatabase(pgAdminUrl(), name);
        execSql(admin, sql);
        admin.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

std::string dbKindName(DbKind kind) {
    return kind == DbKind::SQLite ? "SQLite" : "PostgreSQL";
}

bool TestDatabase::available(DbKind kind) {
    return kind == DbKind::SQLite || !pgAdminUrl().isEmpty();
}

TestDatabase::TestDatabase(DbKind kind) {
    // Demo operators are hashed at the lowest cost, so that seeding and signing in stay quick.
    setPasswordIterations(1000);
    if (kind == DbKind::SQLite) {
        m_dir = std::make_unique<QTemporaryDir>();
        m_url = QStringLiteral("sqlite:") + m_dir->filePath(QStringLiteral("test.sqlite"));
    } else {
        m_pgName = uniqueName("pagtest");
        adminExec(QStringLiteral("CREATE DATABASE %1").arg(m_pgName));
        QUrl url(pgAdminUrl());
        url.setPath(u'/' + m_pgName);
        m_url = url.toString();
    }
    m_db = openAnother();
    migrate(m_db);
}

QSqlDatabase TestDatabase::openAnother() {
    const QString name = uniqueName("pagtestconn");
    m_connections << name;
    return openDatabase(m_url, name);
}

TestDatabase::~TestDatabase() {
    m_db = QSqlDatabase();
    for (const QString &name : std::as_const(m_connections)) {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    if (!m_pgName.isEmpty())
        adminExec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_pgName));
}
