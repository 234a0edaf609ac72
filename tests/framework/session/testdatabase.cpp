#include "tests/framework/session/testdatabase.h"

#include "appserver/db/database.h"
#include "framework/session/dbgeral.h"

namespace {
const QString sideConnection = QStringLiteral("testdatabase.side");
}

TestDatabase::TestDatabase()
    : m_url(QStringLiteral("sqlite:") + m_dir.filePath(QStringLiteral("session.sqlite"))) {
    {
        QSqlDatabase db = openDatabase(m_url, sideConnection);
        migrate(db);
        seedDemo(db, 5);
    }
    dtmDBGeral()->open(m_url);
}

TestDatabase::~TestDatabase() {
    dtmDBGeral()->close();
    QSqlDatabase::removeDatabase(sideConnection);
}

QSqlDatabase TestDatabase::side() {
    return QSqlDatabase::database(sideConnection);
}
