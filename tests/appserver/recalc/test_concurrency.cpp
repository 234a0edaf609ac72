#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "recalcfixture.h"
#include "server_contract/recconpag.h"

#include <QThread>

// Two servers' connections recalculating overlapping instalments at the same time.
class RecalcConcurrency : public RecalcFixture {
protected:
    // Runs the recalculation of `keys` on a connection of its own, on a thread of its own.
    static QThread *startRun(const QString &url, const QList<Key> &keys, const QString &name, QString *status,
                             const QString &company = "01") {
        return QThread::create([=] {
            {
                QSqlDatabase db = openDatabase(url, name);
                *status = recalculate(db, packet(keys), "admin", company).status;
                db.close();
            }
            QSqlDatabase::removeDatabase(name);
        });
    }
};

// Eight runs at a time over overlapping windows of the instalments: each waits its turn and posts.
TEST_P(RecalcConcurrency, OverlappingRunsNeitherDuplicateNorLosePostings) {
    QList<Key> all;
    for (int i = 1; i <= 60; ++i) {
        const Key key = addInstalment(i % 2 ? "0101" : "0102", QString::number(i), 1000 + i);
        if (i % 3 == 0)
            addAdjustment(key, 1, "0001", 10);
        all << key;
    }
    for (int round = 0; round < 2; ++round) {
        std::vector<QString> statuses(8);
        std::vector<std::unique_ptr<QThread>> runs;
        for (int client = 0; client < 8; ++client)
            runs.emplace_back(startRun(test->url(), all.mid(client * 5, 25),
                                       QString("r%1c%2").arg(round).arg(client), &statuses[client]));
        for (auto &run : runs)
            run->start();
        for (auto &run : runs)
            run->wait();
        for (const QString &status : statuses)
            EXPECT_EQ(status, RecConPag::StatusOk);
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

// SQLite: a writer holding the database longer than the run waits is another run, never "ALT_BLOQ".
// PostgreSQL: an instalment row locked longer by another transaction is a document being changed.
TEST_P(RecalcConcurrency, WaitsRunOutAfterTheRunsBound) {
    const Key key = addInstalment("0101", "1", 1000);
    QSqlDatabase other = test->openAnother();
    QString expected = RecConPag::StatusAltBloq;
    if (GetParam() == DbKind::SQLite) {
        execSql(other, "BEGIN IMMEDIATE");
        expected =
            "Outro recálculo em andamento não terminou em 1 segundos; confirme novamente em instantes.";
    } else {
        other.transaction();
        execSql(other, "SELECT * FROM CONTAPAGAR FOR UPDATE");
    }
    EXPECT_EQ(recalculate(test->db(), packet({key}), "admin", "01", std::chrono::milliseconds(300)).status,
              expected);
    other.rollback();
    EXPECT_EQ(count("LANCCONTABIL"), 0);
    EXPECT_EQ(recalc({key}).status, RecConPag::StatusOk);
}

// Runs that wait only for another run in progress queue behind it and then post: two of different
// companies, one on the same company's posting counter.
TEST_P(RecalcConcurrency, RunsWaitingForAnotherRunQueueAndAnswerOk) {
    const Key first = addInstalment("0101", "1", 1000);
    const Key second = addInstalment("0201", "2", 1000);
    QSqlDatabase other = test->openAnother();
    // The run in progress holds the database's write lock (SQLite) or company 01's counter (PostgreSQL).
    if (GetParam() == DbKind::SQLite) {
        execSql(other, "BEGIN IMMEDIATE");
    } else {
        other.transaction();
        execSql(other,
                "INSERT INTO NUMLANCCTB (CDEMPRESA, NRULTLANCCTB) VALUES ('01', 0) ON CONFLICT DO NOTHING");
        execSql(other, "SELECT * FROM NUMLANCCTB WHERE CDEMPRESA = '01' FOR UPDATE");
    }
    QString firstStatus, secondStatus;
    std::unique_ptr<QThread> a(startRun(test->url(), {first}, "queued1", &firstStatus, "01"));
    std::unique_ptr<QThread> b(startRun(test->url(), {second}, "queued2", &secondStatus, "02"));
    a->start();
    b->start();
    QThread::msleep(300);
    other.commit();
    a->wait();
    b->wait();
    EXPECT_EQ(firstStatus, RecConPag::StatusOk);
    EXPECT_EQ(secondStatus, RecConPag::StatusOk);
    EXPECT_EQ(value("SELECT COUNT(*) FROM CONTAPAGAR WHERE IDCTBLCTPAG = 'S'").toInt(), 2);
}

INSTANTIATE_TEST_SUITE_P(Backends, RecalcConcurrency, testing::Values(DbKind::SQLite, DbKind::PostgreSQL),
                         [](const auto &info) { return dbKindName(info.param); });
