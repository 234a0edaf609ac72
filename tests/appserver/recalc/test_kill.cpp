#include "appserver/db/sqlutil.h"
#include "framework/net/netconnection.h"
#include "recalcfixture.h"
#include "server_contract/recconpag.h"
#include "serverprocess.h"

#include <QFileInfo>
#include <QThread>

#include <atomic>

// A server killed while it writes the postings of a large run leaves the database as it was.
class RecalcKill : public RecalcFixture {
protected:
    // True once the run has written part of its postings, not yet committed.
    bool writing() {
        if (GetParam() == DbKind::SQLite)
            return QFileInfo(test->url().mid(7) + "-wal").size() > walAtStart + (1 << 20);
        return value("SELECT COUNT(*) FROM pg_locks L JOIN pg_class C ON C.oid = L.relation"
                     " WHERE C.relname = 'lanccontabil' AND L.mode = 'RowExclusiveLock'")
                   .toInt() > 0;
    }
    qint64 walAtStart = 0;
};

TEST_P(RecalcKill, KilledMidRunLeavesTheDatabaseAsBefore) {
    // Enough for a run of several seconds; PostgreSQL's slower writes need fewer.
    const DataPacket payables =
        addPostableInstalments(test->db(), GetParam() == DbKind::SQLite ? 20000 : 4000);
    const QStringList before = ledgerRows();
    ServerProcess server(test->url());
    ASSERT_TRUE(server.started()) << server.errorText().toStdString();
    walAtStart = QFileInfo(test->url().mid(7) + "-wal").size();

    std::atomic<bool> answered = false;
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
    while (!answered && !writing())
        QThread::msleep(5);
    server.killHard();
    client->wait();
    ASSERT_FALSE(answered) << "the run ended before it could be interrupted";

    EXPECT_EQ(ledgerRows(), before);
    EXPECT_EQ(count("AUDITRECALC"), 0);
}

INSTANTIATE_TEST_SUITE_P(Backends, RecalcKill, testing::Values(DbKind::SQLite, DbKind::PostgreSQL),
                         [](const auto &info) { return dbKindName(info.param); });
