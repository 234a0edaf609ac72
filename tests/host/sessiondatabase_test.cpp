#include "framework/session/dbgeral.h"
#include "host/sessiondatabase.h"
#include "tests/framework/session/testdatabase.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString refusalOf(const QString &url) {
    try {
        openSessionDatabase(url);
    } catch (const std::exception &failure) {
        return QString::fromUtf8(failure.what());
    }
    return {};
}

} // namespace

TEST(SessionDatabase, ADatabaseTheServerHasNotPreparedIsSaidInPortugueseAndNoFileIsLeft) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("demo.sqlite"));
    const QString refusal = refusalOf(QStringLiteral("sqlite:") + missing);
    EXPECT_TRUE(refusal.contains(QStringLiteral("ainda não foi preparado pelo servidor de aplicação")))
        << qPrintable(refusal);
    EXPECT_FALSE(QFileInfo::exists(missing)) << "no empty file is created";
    EXPECT_FALSE(dtmDBGeral()->isOpen());

    const QString other = dir.filePath(QStringLiteral("other.sqlite"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        db.setDatabaseName(other);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec(QStringLiteral("CREATE TABLE NOTAS (X INTEGER)"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    const QString noTables = refusalOf(QStringLiteral("sqlite:") + other);
    EXPECT_TRUE(noTables.contains(QStringLiteral("ainda não foi preparado"))) << qPrintable(noTables);
    EXPECT_FALSE(noTables.contains(QStringLiteral("no such table")));
    EXPECT_FALSE(dtmDBGeral()->isOpen());
}

TEST(SessionDatabase, APreparedDatabaseOpens) {
    TestDatabase prepared;
    dtmDBGeral()->close();
    EXPECT_EQ(refusalOf(prepared.url()), QString());
    EXPECT_TRUE(dtmDBGeral()->isOpen());
}

TEST(SessionDatabase, AnUnreachableDatabaseIsExplainedWithoutTheDriversText) {
    const QString refusal = refusalOf(QStringLiteral("postgresql://ninguem@127.0.0.1:1/pag"));
    EXPECT_TRUE(refusal.contains(QStringLiteral("verifique se o servidor PostgreSQL está no ar")))
        << qPrintable(refusal);
    EXPECT_FALSE(refusal.contains(QStringLiteral("Connection refused"))) << qPrintable(refusal);
}
