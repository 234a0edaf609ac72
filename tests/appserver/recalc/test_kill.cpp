#include "appserver/db/sqlutil.h"
#include "framework/net/netconnection.h"
#include "recalcfixture.h"
#include "server_contract/recconpag.h"
#include "serverprocess.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QSqlRecord>
#include <QThread>

#include <atomic>

// A server killed at any moment of a run leaves every table as it was. The run replaces the postings
// of 500 instalments posted before: large enough that ten kills fall at different moments of it, from
// its start to deep in its writing, small enough for a few seconds in all.
class RecalcKill : public RecalcFixture {
protected:
    // Row count and a checksum of every row of each table a run writes.
    QStringList tableSums() {
        QStringList sums;
        for (const char *table : {"CONTAPAGAR", "AJCTPAGAR", "LANCCONTABIL", "RATEIOLANC", "NUMLANCCTB",
                                  "AUDITRECALC", "AUDITRECALCITEM"}) {
            QSqlQuery query = runSql(test->db(), QString("SELECT * FROM %1").arg(table));
            QStringList rows;
            while (query.next()) {
                QStringList fields;
                for (int i = 0; i < query.record().count(); ++i)
                    fields << query.value(i).toString();
                rows << fields.join(u'|');
            }
            rows.sort();
            sums << QString("%1 %2 %3")
                        .arg(table)
                        .arg(rows.size())
                        .arg(QString::fromLatin1(
                            QCryptographicHash::hash(rows.join(u'\n').toUtf8(), QCryptographicHash::Sha256)
                                .toHex()));
        }
        return sums;
    }

    // Waits until `moment` has passed since `start` (or the run has answered).
    static void waitForMoment(const QElapsedTimer &start, qint64 moment, const std::atomic<bool> &answered) {
        while (!answered && start.elapsed() < moment)
            QThread::msleep(1);
    }
};

TEST_P(RecalcKill, KilledAtTenMomentsOfARunLeavesEveryTableAsBefore) {
    const DataPacket payables = addPostableInstalments(test->db(), 500);
    QElapsedTimer firstRun;
    firstRun.start();
    ASSERT_EQ(recalculate(test->db(), payables, "admin", "01").status, RecConPag::StatusOk);
    // The ten moments spread over the first half of the time such a run takes, well before its commit
    // (SQLite writes its log only as it commits, so the log cannot place them). The run through the
    // server also waits for its start, sign-in and request, so each moment falls earlier in it.
    const qint64 step = firstRun.elapsed() / 20;
    const QStringList before = tableSums();

    for (int moment = 0; moment < 10; ++moment) {
        SCOPED_TRACE(moment);
        ServerProcess server(test->url(), QProcess::nullDevice());
        ASSERT_TRUE(server.started()) << server.errorText().toStdString();
        std::atomic<bool> answered = false;
        QElapsedTimer start;
        start.start();
        std::unique_ptr<QThread> client(QThread::create([&] {
            TNetConnection::setCredentialsProvider([] { return NetCredentials{"admin", "admin"}; });
            TNetConnection net;
            net.setServerName(RecConPag::serverName);
            net.setPort(server.port());
            net.setCallTimeout(600000);
            try {
                net.call(RecConPag::Method::SetConfirmar, {payables, "admin", "01"});
                answered = true;
            } catch (const NetError &) {
            }
        }));
        client->start();
        waitForMoment(start, moment * step, answered);
        server.killHard();
        client->wait();
        ASSERT_FALSE(answered) << "the run ended before it could be interrupted";
        EXPECT_EQ(tableSums(), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, RecalcKill, testing::Values(DbKind::SQLite, DbKind::PostgreSQL),
                         [](const auto &info) { return dbKindName(info.param); });
