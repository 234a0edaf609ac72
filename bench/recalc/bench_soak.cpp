#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "bench/support/summary.h"
#include "benchdb.h"
#include "framework/net/netconnection.h"
#include "tests/appserver/recalc/serverprocess.h"

#include <QCoreApplication>
#include <QMap>
#include <QMutex>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

// Eight clients, each on its own connection to one server, run SetConfirmar twenty times over their
// own 1,000 instalments, which overlap by half with the next client's, all at once. Prints the number of
// runs answered with each status and, from queries afterwards, the postings duplicated (a posting
// with other than its two lines, or under two numbers) and lost (an instalment or adjustment without
// its posting). Target: every run "OK", none duplicated, none lost.
namespace {

constexpr int clients = 8, perClient = 1000, overlapStep = 500, rounds = 20;

// Rows [first, first + count) of the packet.
DataPacket slice(const DataPacket &all, int first, int count) {
    DataPacket part(all.fields());
    const int columns = int(all.fields().size());
    for (int row = first; row < first + count; ++row) {
        QVariantList values;
        values.reserve(columns);
        for (int col = 0; col < columns; ++col)
            values << all.value(row, col);
        part.appendRow(values);
    }
    return part;
}

QMap<QString, int> soak(quint16 port, const DataPacket &all) {
    QMap<QString, int> statuses;
    QMutex lock;
    std::vector<std::unique_ptr<QThread>> threads;
    for (int client = 0; client < clients; ++client) {
        const DataPacket mine = slice(all, client * overlapStep, perClient);
        threads.emplace_back(QThread::create([&statuses, &lock, port, mine] {
            for (int round = 0; round < rounds; ++round) {
                const QString status = confirm(port, mine).status;
                QMutexLocker locked(&lock);
                ++statuses[status];
            }
        }));
    }
    for (auto &thread : threads)
        thread->start();
    for (auto &thread : threads)
        thread->wait();
    return statuses;
}

struct Check {
    qint64 duplicated = 0;
    qint64 lost = 0;
};

Check check(const QString &url) {
    Check found;
    {
        QSqlDatabase db = openDatabase(url, QStringLiteral("soakcheck"));
        const QString origin =
            QStringLiteral("CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, COALESCE(NRSEQAJUPAG, 0)");
        found.duplicated =
            selectValue(db, QStringLiteral("SELECT COUNT(*) FROM (SELECT %1 FROM LANCCONTABIL GROUP BY %1"
                                           " HAVING COUNT(*) <> 2 OR COUNT(DISTINCT NRLANCCTB) <> 1) D")
                                .arg(origin))
                .toLongLong();
        found.lost =
            selectValue(db, QStringLiteral("SELECT (SELECT COUNT(*) FROM CONTAPAGAR) + (SELECT COUNT(*) FROM"
                                           " AJCTPAGAR) - (SELECT COUNT(*) FROM (SELECT DISTINCT %1 FROM"
                                           " LANCCONTABIL) P)")
                                .arg(origin))
                .toLongLong();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("soakcheck"));
    return found;
}

void measure(const char *name, const QString &url) {
    const DataPacket all = seedPostable(url, overlapStep * (clients - 1) + perClient);
    ServerProcess server(url, QProcess::nullDevice());
    if (!server.started()) {
        std::printf("%-10s server did not start: %s\n", name, qPrintable(server.errorText()));
        return;
    }
    const QMap<QString, int> statuses = soak(server.port(), all);
    for (auto it = statuses.cbegin(); it != statuses.cend(); ++it)
        std::printf("%-10s %d clients x %d runs of %d overlapping instalments: %4d runs answered %s\n", name,
                    clients, rounds, perClient, it.value(), qPrintable(it.key()));
    const Check found = check(url);
    std::printf("%-10s postings duplicated %lld, lost %lld\n", name, found.duplicated, found.lost);
    const int ok = statuses.value(QStringLiteral("OK"));
    BenchSummary::figure(QStringLiteral("recalculation soak on %1: runs answered OK").arg(name), ok,
                         QStringLiteral("runs"), QStringLiteral("= %1").arg(clients * rounds),
                         ok == clients * rounds);
    BenchSummary::figure(QStringLiteral("recalculation soak on %1: postings duplicated or lost").arg(name),
                         double(found.duplicated + found.lost), QStringLiteral("postings"),
                         QStringLiteral("= 0"), found.duplicated == 0 && found.lost == 0);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    TNetConnection::setCredentialsProvider([] { return NetCredentials{"admin", "admin"}; });
    QTemporaryDir dir;
    measure("SQLite", QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("soak.sqlite")));
    const QString pg = qEnvironmentVariable("PAG_TEST_PG_URL");
    if (pg.isEmpty()) {
        std::printf("PostgreSQL skipped: PAG_TEST_PG_URL is not set\n");
        return 0;
    }
    measure("PostgreSQL", freshPostgres(pg, QStringLiteral("soak")));
    return 0;
}
