// GetAjusPag (the adjustments of one instalment, a packet of a few rows) against the real server on
// loopback: calls per second of one client (target 10,000), and of four clients calling together against
// one (target 1.6 times on this 2-core machine), the two alternating on one server, best round of each.
// Beside the rates, the CPU each side spends per call of the one client: on a shared machine the rate
// measures the neighbours too, the CPU per call mostly this code.
#include "bench/support/summary.h"
#include "framework/core/datapacket.h"
#include "framework/net/checkresult.h"
#include "tests/support/serverfixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>

#include <atomic>
#include <barrier>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace {

constexpr int rounds = 3;
constexpr int roundMilliseconds = 2000;

// The key of an instalment that has adjustments, read straight from the server's database.
QStringList instalmentWithAdjustments(const QString &databaseUrl) {
    QStringList key = {QStringLiteral("0101"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")};
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        db.setDatabaseName(databaseUrl.mid(7));
        QSqlQuery query(db);
        if (db.open() &&
            query.exec(QStringLiteral(
                "SELECT CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG FROM AJCTPAGAR LIMIT 1")) &&
            query.next()) {
            for (int i = 0; i < 4; ++i)
                key[i] = query.value(i).toString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    return key;
}

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// User and system CPU of a whole process, from /proc.
double processCpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return double(fields.at(11).toLongLong() + fields.at(12).toLongLong()) / double(sysconf(_SC_CLK_TCK));
}

struct Round {
    double callsPerSecond = 0;
    double clientMicrosPerCall = 0; // CPU of the client threads
    double serverMicrosPerCall = 0; // CPU of the whole server process
};

// `clients` clients calling together for a round, each on a thread and a connection of its own.
Round callTogether(const ServerFixture &server, const QStringList &key, int clients) {
    std::atomic<bool> stop = false;
    std::atomic<qint64> calls = 0;
    std::atomic<qint64> clientNanos = 0;
    std::mutex connecting;
    std::barrier ready(clients + 1);
    std::vector<std::thread> threads;
    for (int i = 0; i < clients; ++i) {
        threads.emplace_back([&] {
            TNetConnection net;
            net.setServerName(QStringLiteral("PAG00800.rdmRecConPag"));
            net.setHost(server.host());
            net.setPort(server.port());
            {
                const std::lock_guard lock(connecting);
                net.setConnected(true);
            }
            ready.arrive_and_wait();
            const double cpuStart = threadCpuSeconds();
            qint64 made = 0;
            for (; !stop; ++made) {
                const QVariant answer =
                    CheckResultServ(net.call("GetAjusPag", {key[0], key[1], key[2], key[3]}), true, 0);
                if (answer.value<DataPacket>().rowCount() == 0)
                    qFatal("GetAjusPag answered no adjustments");
            }
            calls += made;
            clientNanos += qint64((threadCpuSeconds() - cpuStart) * 1e9);
        });
    }
    ready.arrive_and_wait();
    const double serverStart = processCpuSeconds(server.processId());
    QElapsedTimer timer;
    timer.start();
    QThread::msleep(roundMilliseconds);
    stop = true;
    for (std::thread &thread : threads)
        thread.join();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const double made = double(std::max<qint64>(calls, 1));
    return {double(calls) / seconds, double(clientNanos) / 1e3 / made,
            (processCpuSeconds(server.processId()) - serverStart) * 1e6 / made};
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    ServerFixture::Options options;
    options.demoSize = 2000;
    ServerFixture server(options);
    server.start();
    const QStringList key = instalmentWithAdjustments(server.databaseUrl());
    TNetConnection::setCredentialsProvider([] { return NetCredentials{"admin", "admin"}; });
    callTogether(server, key, 1);
    Round one;
    double four = 0;
    for (int round = 0; round < rounds; ++round) {
        const Round single = callTogether(server, key, 1);
        if (single.callsPerSecond > one.callsPerSecond)
            one = single;
        four = std::max(four, callTogether(server, key, 4).callsPerSecond);
    }
    std::printf("GetAjusPag: one client %.0f calls/s (CPU per call: client %.1f us, server %.1f us); four "
                "clients %.0f calls/s (best of %d rounds of %d ms each)\n",
                one.callsPerSecond, one.clientMicrosPerCall, one.serverMicrosPerCall, four, rounds,
                roundMilliseconds);
    BenchSummary::figure(QStringLiteral("GetAjusPag, one client"), one.callsPerSecond,
                         QStringLiteral("calls/s"), QStringLiteral(">= 10000 calls/s"),
                         one.callsPerSecond >= 10000);
    const double scaling = one.callsPerSecond > 0 ? four / one.callsPerSecond : 0;
    BenchSummary::figure(QStringLiteral("GetAjusPag, four clients together against one"), scaling,
                         QStringLiteral("x"), QStringLiteral(">= 1.6x"), scaling >= 1.6);
    return 0;
}
