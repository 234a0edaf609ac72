#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "server_contract/recconpag.h"
#include "tests/appserver/recalc/serverprocess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>

// Prints, for each database and for two numbers of marked instalments, the instalments per second of
// one SetConfirmar run (first posting, then the same run again, which replaces every posting) and how
// far the server's peak resident memory grew over its size before the runs, beside the size of the
// payable packet; then how much the growth grew from the smaller run to the larger one against how
// much the packet grew.
//
// Targets: over 2,000 instalments per second on SQLite; memory growing no faster than the packet.
namespace {

constexpr int smaller = 5000, larger = 10000;

struct RunFigures {
    double seconds = 0;
    QString status;
};

struct SizeFigures {
    qint64 packetBytes = 0;
    qint64 growthKiB = 0;
};

RunFigures confirm(quint16 port, const DataPacket &payables) {
    TNetConnection net;
    net.setServerName(RecConPag::serverName);
    net.setPort(port);
    net.setCallTimeout(600000);
    net.setConnected(true);
    QElapsedTimer timer;
    timer.start();
    const QVariant answer = net.call(RecConPag::Method::SetConfirmar, {payables, "admin", "01"});
    RunFigures figures{timer.nsecsElapsed() / 1e9, {}};
    figures.status =
        isServerFailure(answer) ? serverFailureText(answer) : answer.toList().value(0).toString();
    return figures;
}

DataPacket seed(const QString &url, int instalments) {
    DataPacket payables;
    {
        QSqlDatabase db = openDatabase(url, QStringLiteral("bench"));
        migrate(db);
        seedDemo(db, 0);
        payables = addPostableInstalments(db, instalments);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    return payables;
}

// Runs `instalments` marked instalments twice on a fresh server over a fresh database `url`.
SizeFigures measure(const char *name, const QString &url, int instalments) {
    const DataPacket payables = seed(url, instalments);
    const SizeFigures figures{payables.encode().size(), 0};
    ServerProcess server(url, QProcess::nullDevice());
    if (!server.started()) {
        std::printf("%-10s server did not start: %s\n", name, qPrintable(server.errorText()));
        return figures;
    }
    const qint64 idleKiB = server.peakMemoryKiB();
    std::printf("%-10s %6d instalments  payable packet %lld KiB encoded\n", name, instalments,
                figures.packetBytes / 1024);
    for (const char *run : {"first", "repeated"}) {
        const RunFigures timed = confirm(server.port(), payables);
        std::printf("%-10s %6d instalments  %-8s %8.0f instalments/s  status %s\n", name, instalments, run,
                    instalments / timed.seconds, qPrintable(timed.status));
    }
    const qint64 growthKiB = server.peakMemoryKiB() - idleKiB;
    std::printf("%-10s %6d instalments  server peak memory %lld KiB, %lld KiB over its %lld KiB before the "
                "runs: %.1f bytes per packet byte\n",
                name, instalments, idleKiB + growthKiB, growthKiB, idleKiB,
                double(growthKiB) * 1024 / double(figures.packetBytes));
    return {figures.packetBytes, growthKiB};
}

void compare(const char *name, const SizeFigures &small, const SizeFigures &large) {
    if (small.growthKiB <= 0 || large.growthKiB <= 0)
        return;
    const double growth = double(large.growthKiB) / double(small.growthKiB);
    const double packet = double(large.packetBytes) / double(small.packetBytes);
    const double perByte =
        double(large.growthKiB - small.growthKiB) * 1024 / double(large.packetBytes - small.packetBytes);
    std::printf("%-10s from %d to %d instalments the memory growth went x%.2f for a packet x%.2f, %.1f bytes "
                "per added packet byte: %s (target: no faster than the packet)\n",
                name, smaller, larger, growth, packet, perByte, growth <= packet ? "met" : "NOT met");
}

QString freshPostgres(const QString &adminUrl, int instalments) {
    const QString name =
        QStringLiteral("pagbench_%1_%2").arg(QCoreApplication::applicationPid()).arg(instalments);
    {
        QSqlDatabase admin = openDatabase(adminUrl, QStringLiteral("benchadmin"));
        execSql(admin, QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name));
        execSql(admin, QStringLiteral("CREATE DATABASE %1").arg(name));
        admin.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("benchadmin"));
    QUrl url(adminUrl);
    url.setPath(u'/' + name);
    return url.toString();
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    TNetConnection::setCredentialsProvider([] { return NetCredentials{"admin", "admin"}; });
    QTemporaryDir dir;
    const auto sqlite = [&](int instalments) {
        return QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("bench%1.sqlite").arg(instalments));
    };
    const SizeFigures sqliteSmall = measure("SQLite", sqlite(smaller), smaller);
    compare("SQLite", sqliteSmall, measure("SQLite", sqlite(larger), larger));
    const QString pg = qEnvironmentVariable("PAG_TEST_PG_URL");
    if (pg.isEmpty()) {
        std::printf("PostgreSQL skipped: PAG_TEST_PG_URL is not set\n");
        return 0;
    }
    const SizeFigures postgresSmall = measure("PostgreSQL", freshPostgres(pg, smaller), smaller);
    compare("PostgreSQL", postgresSmall, measure("PostgreSQL", freshPostgres(pg, larger), larger));
    return 0;
}
