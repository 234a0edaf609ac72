#include "framework/session/adoibquery.h"
#include "tests/framework/session/testdatabase.h"

#include "appserver/db/database.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// A list of companies, one of them or all when P_CDEMPRESA is empty, with a text for PostgreSQL
// (which needs the parameter's type) and one kept as data for another dialect.
void prepareCompanies(TADOIBQuery *query) {
    query->setSQL(QStringLiteral("SELECT CDEMPRESA, NMEMPRESA FROM EMPRESA"
                                 " WHERE CDEMPRESA = COALESCE(:P_CDEMPRESA, CDEMPRESA) ORDER BY CDEMPRESA"));
    query->setSQL(SqlDialect::PostgreSQL,
                  QStringLiteral("SELECT CDEMPRESA, NMEMPRESA FROM EMPRESA WHERE CDEMPRESA ="
                                 " COALESCE(CAST(:P_CDEMPRESA AS VARCHAR), CDEMPRESA) ORDER BY CDEMPRESA"));
    query->setSQL(SqlDialect::Oracle, QStringLiteral("SELECT CDEMPRESA, NMEMPRESA FROM EMPRESA"
                                                     " WHERE CDEMPRESA = NVL(:P_CDEMPRESA,CDEMPRESA)"));
    query->addField({.name = QStringLiteral("CDEMPRESA"), .size = 2, .required = true});
    query->addField({.name = QStringLiteral("NMEMPRESA"),
                     .size = 40,
                     .displayLabel = QStringLiteral("Nome"),
                     .visible = false});
}

QStringList column(TADOIBQuery &query, const char *field) {
    QStringList values;
    for (query.first(); !query.eof(); query.next())
        values << query.FieldByName(QString::fromLatin1(field))->asString();
    return values;
}

// Runs the company query with and without its parameter on the session's connection.
void checkCompanyQuery() {
    TADOIBQuery query;
    prepareCompanies(&query);

    query.ParamByName(QStringLiteral("P_CDEMPRESA"))->setAsString(QStringLiteral("02"));
    query.Open();
    ASSERT_FALSE(query.IsEmpty());
    EXPECT_EQ(column(query, "CDEMPRESA"), QStringList{QStringLiteral("02")});
    EXPECT_EQ(query.FieldByName(QStringLiteral("NMEMPRESA"))->asString(),
              QStringLiteral("Indústria Jacarandá S.A."));

    query.Close();
    query.ParamByName(QStringLiteral("P_CDEMPRESA"))->Clear();
    query.Open();
    EXPECT_EQ(column(query, "CDEMPRESA"), (QStringList{"01", "02", "03"}));

    query.ParamByName(QStringLiteral("p_cdempresa"))->setAsString(QString());
    query.Open();
    EXPECT_EQ(query.recordCount(), 3) << "an empty text lists every company";

    query.ParamByName(QStringLiteral("P_CDEMPRESA"))->setValue(QStringLiteral("99"));
    query.Open();
    EXPECT_TRUE(query.IsEmpty());
}

} // namespace

class SqliteQueryTest : public testing::Test {
protected:
    TestDatabase database;
};

TEST_F(SqliteQueryTest, CompanyQueryWithAndWithoutParameter) {
    EXPECT_EQ(dtmDBGeral()->dialect(), SqlDialect::SQLite);
    checkCompanyQuery();
}

TEST_F(SqliteQueryTest, EachOpenReadsTheTableAfresh) {
    TADOIBQuery query;
    prepareCompanies(&query);
    query.Open();
    ASSERT_EQ(query.recordCount(), 3);

    QSqlQuery insert(database.side());
    ASSERT_TRUE(
        insert.exec(QStringLiteral("INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA) VALUES ('04', 'Nova')")));
    EXPECT_EQ(query.recordCount(), 3) << "an open query keeps what it read";
    query.Close();
    query.Open();
    EXPECT_EQ(column(query, "CDEMPRESA"), (QStringList{"01", "02", "03", "04"}));
}

TEST_F(SqliteQueryTest, DeclaredFieldsKeepLabelsVisibilityAndSize) {
    TADOIBQuery query;
    prepareCompanies(&query);
    query.Open();
    ASSERT_FALSE(query.IsEmpty());
    EXPECT_EQ(query.fieldCount(), 2);
    EXPECT_EQ(query.FieldByName(QStringLiteral("NMEMPRESA"))->def().displayLabel, QStringLiteral("Nome"));
    EXPECT_FALSE(query.FieldByName(QStringLiteral("NMEMPRESA"))->def().visible);
    EXPECT_TRUE(query.FieldByName(QStringLiteral("CDEMPRESA"))->def().required);
    EXPECT_EQ(query.FieldByName(QStringLiteral("NMEMPRESA"))->def().size, 40);
}

TEST_F(SqliteQueryTest, UndeclaredFieldsFollowTheResultColumns) {
    TADOIBQuery query;
    query.setSQL(QStringLiteral(
        "SELECT cdfilial, COUNT(*) AS qtfiliais FROM FILIAL WHERE CDEMPRESA = :EMP GROUP BY cdfilial"));
    query.ParamByName(QStringLiteral("EMP"))->setAsString(QStringLiteral("01"));
    query.Open();
    ASSERT_EQ(query.fieldCount(), 2);
    EXPECT_EQ(query.field(0)->name(), QStringLiteral("CDFILIAL"));
    EXPECT_EQ(query.FieldByName(QStringLiteral("QTFILIAIS"))->asInteger(), 1);
}

TEST_F(SqliteQueryTest, FailuresAreReportedNotSwallowed) {
    TADOIBQuery query;
    prepareCompanies(&query);
    EXPECT_THROW(query.ParamByName(QStringLiteral("P_CDFILIAL")), std::invalid_argument);
    query.setSQL(QStringLiteral("SELECT * FROM TABELA_QUE_NAO_EXISTE"));
    EXPECT_THROW(query.Open(), std::runtime_error);
    EXPECT_FALSE(query.active());
}

TEST(QueryDialects, RunsTheTextOfTheDatabaseInUseAndKeepsTheOthers) {
    TADOIBQuery query;
    prepareCompanies(&query);
    EXPECT_TRUE(
        query.sqlFor(SqlDialect::SQLite).contains(QStringLiteral("COALESCE(:P_CDEMPRESA, CDEMPRESA)")));
    EXPECT_TRUE(
        query.sqlFor(SqlDialect::PostgreSQL).contains(QStringLiteral("CAST(:P_CDEMPRESA AS VARCHAR)")));
    EXPECT_TRUE(query.sqlFor(SqlDialect::Oracle).contains(QStringLiteral("NVL(:P_CDEMPRESA,CDEMPRESA)")));
    EXPECT_EQ(query.sqlFor(SqlDialect::SqlServer), query.SQL())
        << "no text of its own falls back to the default";
}

// PostgreSQL: a database of its own inside the throwaway cluster, dropped afterwards.
class PostgresQueryTest : public testing::Test {
protected:
    void SetUp() override {
        const QString server = qEnvironmentVariable("PAG_TEST_PG_URL");
        if (server.isEmpty())
            GTEST_SKIP() << "PAG_TEST_PG_URL not set";
        m_name = QStringLiteral("pag_session_%1").arg(QCoreApplication::applicationPid());
        {
            QSqlDatabase admin = openDatabase(server, QStringLiteral("pg.admin"));
            QSqlQuery(admin).exec(QStringLiteral("DROP DATABASE IF EXISTS ") + m_name);
            ASSERT_TRUE(QSqlQuery(admin).exec(QStringLiteral("CREATE DATABASE ") + m_name));
        }
        QUrl url(server);
        url.setPath(u'/' + m_name);
        m_url = url.toString();
        {
            QSqlDatabase db = openDatabase(m_url, QStringLiteral("pg.seed"));
            migrate(db);
            seedDemo(db, 5);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("pg.seed"));
        dtmDBGeral()->open(m_url);
    }

    void TearDown() override {
        if (m_name.isEmpty())
            return;
        dtmDBGeral()->close();
        {
            QSqlDatabase admin = QSqlDatabase::database(QStringLiteral("pg.admin"));
            QSqlQuery(admin).exec(QStringLiteral("DROP DATABASE IF EXISTS ") + m_name);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("pg.admin"));
    }

    QString m_name;
    QString m_url;
};

TEST_F(PostgresQueryTest, CompanyQueryWithAndWithoutParameter) {
    EXPECT_EQ(dtmDBGeral()->dialect(), SqlDialect::PostgreSQL);
    checkCompanyQuery();
}
