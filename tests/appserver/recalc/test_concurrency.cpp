#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "recalcfixture.h"
#include "server_contract/recconpag.h"

#include <QThread>

// Two servers' connections recalculating overlapping instalments at the same time.
class RecalcConcurrency : public RecalcFixture {
protected:
    // Runs the recalculation of `keys` on a connection of its own, on a thread of its own.
    static QThread *startRun(const QString &url, const QList<Key> &keys, const QString &name,
                             QString *status) {
        return QThread::create([=] {
            {
                QSqlDatabase db = openDatabase(url, name);
                *status = recalculate(db, packet(keys), "admin", "01").status;
                db.close();
            }
            QSqlDatabase::removeDatabase(name);
        });
    }
};

TEST_P(RecalcConcurrency, OverlappingRunsNeitherDuplicateNorLosePostings) {
    QList<Key> all;
    for (int i = 1; i <= 60; ++i) {
        const Key key = addInstalment(i % 2 ? "0101" : "0102", QString::number(i), 1000 + i);
        if (i % 3 == 0)
            addAdjustment(key, 1, "0001", 10);
        all << key;
    }
    for (int round = 0; round < 3; ++round) {
        QString first, second;
        std::unique_ptr<QThread> a(startRun(test->url(), all.mid(0, 40), QString("a%1").arg(round), &first));
        std::unique_ptr<QThread> b(startRun(test->url(), all.mid(20), QString("b%1").arg(round), &second));
        a->start();
        b->start();
        a->wait();
        b->wait();
        for (const QString &status : {first, second})
            EXPECT_TRUE(status == RecConPag::StatusOk || status == RecConPag::StatusAltBloq)
                << status.toStdString();
    }
    // Each instalment has one posting of its own and one per adjustment, two lines each, numbered once.
    EXPECT_EQ(count("LANCCONTABIL"), 2 * (60 + 20));
    EXPECT_EQ(value("SELECT COUNT(DISTINCT NRLANCCTB) FROM LANCCONTABIL").toInt(), 60 + 20);
    EXPECT_EQ(value("SELECT COUNT(*) FROM CONTAPAGAR WHERE IDCTBLCTPAG = 'S'").toInt(), 60);
    EXPECT_EQ(
        value(
            "SELECT COUNT(*) FROM CONTAPAGAR C WHERE NOT EXISTS (SELECT 1 FROM LANCCONTABIL L"
            " WHERE L.NRLANCCTB = C.NRLANCTBDOC AND L.CDFILIAL = C.CDFILIAL AND L.NRLANCTONF = C.NRLANCTONF)")
            .toInt(),
        0);
    // Later runs kept the numbers of the first: the counter moved once per posting.
    EXPECT_EQ(value("SELECT NRULTLANCCTB FROM NUMLANCCTB WHERE CDEMPRESA = '01'").toInt(), 60 + 20);
}

TEST_P(RecalcConcurrency, InstalmentsLockedTooLongByAnotherRunGiveAltBloq) {
    const Key key = addInstalment("0101", "1", 1000);
    QSqlDatabase other = test->openAnother();
    if (GetParam() == DbKind::SQLite) {
        execSql(other, "BEGIN IMMEDIATE");
        execSql(test->db(), "PRAGMA busy_timeout = 100");
    } else {
        other.transaction();
        execSql(other, "SELECT * FROM CONTAPAGAR FOR UPDATE"); // held for longer than the run waits
    }
    EXPECT_EQ(recalc({key}).status, RecConPag::StatusAltBloq);
    other.rollback();
    EXPECT_EQ(count("LANCCONTABIL"), 0);
    EXPECT_EQ(recalc({key}).status, RecConPag::StatusOk);
}

INSTANTIATE_TEST_SUITE_P(Backends, RecalcConcurrency, testing::Values(DbKind::SQLite, DbKind::PostgreSQL),
                         [](const auto &info) { return dbKindName(info.param); });
