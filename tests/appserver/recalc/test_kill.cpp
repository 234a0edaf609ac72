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

    // Starts SetConfirmar of `payables` on the server in a thread of its own; `answered` is set when the
    // answer arrives.
    static std::unique_ptr<QThread> startRun(const ServerProcess &server, const DataPacket &payables,
                                             std::atomic<bool> &answered) {
        std::unique_ptr<QThread> client(QThread::create([&server, payables, &answered] {
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
        return client;
    }
};

TEST_P(RecalcKill, KilledAtTenMomentsOfARunLeavesEveryTableAsBefore) {
    const DataPacket payables = addPostableInstalments(test->db(), 500);
    QElapsedTimer firstRun;
    firstRun.start();
    ASSERT_EQ(recalculate(test->db(), payables, "admin", "01").status, RecConPag::StatusOk);
    // The moments spread over the first half of the time such a run takes. A run through the server
    // may commit sooner than that; a kill that comes after the commit interrupts nothing, so the
    // moments then draw closer and that moment is tried again from the run's new state.
    qint64 step = std::max<qint64>(1, firstRun.elapsed() / 20);
    QStringList before = tableSums();

    int interrupted = 0;
    for (int attempt = 0; interrupted < 10 && attempt < 30; ++attempt) {
        SCOPED_TRACE(interrupted);
        ServerProcess server(test->url(), QProcess::nullDevice());
        ASSERT_TRUE(server.started()) << server.errorText().toStdString();
        const int runs = count("AUDITRECALC");
        std::atomic<bool> answered = false;
        QElapsedTimer start;
        start.start();
        const std::unique_ptr<QThread> client = startRun(server, payables, answered);
        while (!answered && start.elapsed() < interrupted * step)
            QThread::msleep(1);
        server.killHard();
        client->wait();
        if (count("AUDITRECALC") != runs) {
            step = step * 2 / 3;
            before = tableSums();
            continue;
        }
        ASSERT_FALSE(answered);
        EXPECT_EQ(tableSums(), before);
        ++interrupted;
    }
    EXPECT_EQ(interrupted, 10);
}

INSTANTIATE_TEST_SUITE_P(Backends, RecalcKill, testing::Values(DbKind::SQLite, DbKind::PostgreSQL),
                         [](const auto &info) { return dbKindName(info.param); });
