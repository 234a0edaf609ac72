#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "recalcfixture.h"
#include "server_contract/recconpag.h"

#include <QDateTime>

// A read that fails after its first rows stops the run with a database error and nothing written: the
// failure is never taken for the end of the rows (fewer rules, accounts or holds than there are).
class RecalcReadError : public RecalcFixture {
protected:
    // Puts a view in the table's place whose `column` fails to compute on the rows matching `when`:
    // SQLite's abs() overflows, PostgreSQL raises in a function.
    void failReading(const QString &table, const QStringList &columns, const QString &column,
                     const QString &when) {
        QString boom = QString("abs(-9223372036854775807 - 1 + length(%1) - length(%1))").arg(column);
        if (GetParam() == DbKind::PostgreSQL) {
            execSql(test->db(), "CREATE OR REPLACE FUNCTION FALHA(V ANYELEMENT) RETURNS ANYELEMENT"
                                " AS $$ BEGIN RAISE EXCEPTION 'falha de leitura'; END $$ LANGUAGE plpgsql");
            boom = QString("FALHA(%1)").arg(column);
        }
        QStringList select = columns;
        select[columns.indexOf(column)] =
            QString("CASE WHEN %1 THEN %2 ELSE %3 END AS %3").arg(when, boom, column);
        execSql(test->db(), QString("ALTER TABLE %1 RENAME TO %1_T").arg(table));
        execSql(test->db(), QString("CREATE VIEW %1 AS SELECT %2 FROM %1_T").arg(table, select.join(", ")));
    }
    void restore(const QString &table) {
        execSql(test->db(), "DROP VIEW " + table);
        execSql(test->db(), QString("ALTER TABLE %1_T RENAME TO %1").arg(table));
    }
};

TEST_P(RecalcReadError, AFailedReadStopsTheRunAndWritesNothing) {
    const Key key = addInstalment("0101", "10", 10000);
    addRule(key, 1, "0101", "0001", 5000);
    addRule(key, 2, "0102", "0002", 5000);
    const Key held = addInstalment("0102", "11", 2000);
    const Key unmarked = addInstalment("0101", "09", 2000);
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    addHold(unmarked, "fiscal", now - 60, now + 3600);
    addHold(held, "fiscal", now - 60, now + 3600);
    const QStringList before = ledgerRows();

    struct Case {
        QString table;
        QStringList columns;
        QString column, when;
        QList<Key> marked;
    };
    const QList<Case> cases = {
        {"RATEIOCTPAGAR",
         {"CDFILIAL", "NRLANCTONF", "NRSEQVENPAG", "NRPARCELAPAG", "NRSEQRAT", "CDFILIRAT", "CDCENTCUST",
          "QTPERCRAT"},
         "QTPERCRAT",
         "NRSEQRAT = 2",
         {key}},
        {"BLOQDOCUMENTO",
         {"CDFILIAL", "NRLANCTONF", "CDOPERADOR", "DTHRINICBLOQ", "DTHRFINABLOQ", "DSESTACAO"},
         "DTHRFINABLOQ",
         "NRLANCTONF = '11'",
         {key, held}},
        {"PLANOCONTAS",
         {"CDCONTCTBL", "CDCONTREDU", "NMCONTCTBL", "IDCONTANALI"},
         "IDCONTANALI",
         "CDCONTCTBL = '2.1.1.01'",
         {key}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.table.toStdString());
        failReading(c.table, c.columns, c.column, c.when);
        EXPECT_THROW(recalc(c.marked), DatabaseError);
        restore(c.table);
        EXPECT_EQ(ledgerRows(), before);
        EXPECT_EQ(count("AUDITRECALC"), 0);
    }
    EXPECT_EQ(recalc({key}).status, RecConPag::StatusOk);
}

INSTANTIATE_TEST_SUITE_P(Backends, RecalcReadError, testing::Values(DbKind::SQLite, DbKind::PostgreSQL),
                         [](const auto &info) { return dbKindName(info.param); });
