#include "benchdb.h"
#include "framework/net/netconnection.h"
#include "tests/appserver/recalc/serverprocess.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

// Prints, for each database and for two numbers of marked instalments, the instalments per second of
// one SetConfirmar run (first posting, then the same run again, which replaces every posting) and how
// far the server's peak resident memory grew over its size before the runs, beside the size of the
// payable packet; then how much the growth grew from the smaller run to the larger one against how
// much the packet grew.
//
// Targets: on SQLite, with every commit synchronised to disk, 6,000 instalments per second or more for
// the run of 10,000; memory growing no faster than the packet.
namespace {

constexpr int smaller = 5000, larger = 10000;
constexpr double sqliteTarget = 6000;

struct SizeFigures {
    qint64 packetBytes = 0;
    qint64 growthKiB = 0;
};

// Runs `instalments` marked instalments twice on a fresh server over a fresh database `url`; judges each
// run against `target` instalments per second unless it is 0.
SizeFigures measure(const char *name, const QString &url, int instalments, double target = 0) {
    const DataPacket payables = seedPostable(url, instalments);
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
        const double rate = instalments / timed.seconds;
        std::printf("%-10s %6d instalments  %-8s %8.0f instalments/s  status %s", name, instalments, run,
                    rate, qPrintable(timed.status));
        if (target > 0)
            std::printf("  (target %.0f/s: %s)", target, rate >= target ? "met" : "NOT met");
        std::printf("\n");
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

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    TNetConnection::setCredentialsProvider([] { return NetCredentials{"admin", "admin"}; });
    QTemporaryDir dir;
    const auto sqlite = [&](int instalments) {
        return QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("bench%1.sqlite").arg(instalments));
    };
    const SizeFigures sqliteSmall = measure("SQLite", sqlite(smaller), smaller);
    compare("SQLite", sqliteSmall, measure("SQLite", sqlite(larger), larger, sqliteTarget));
    const QString pg = qEnvironmentVariable("PAG_TEST_PG_URL");
    if (pg.isEmpty()) {
        std::printf("PostgreSQL skipped: PAG_TEST_PG_URL is not set\n");
        return 0;
    }
    const SizeFigures postgresSmall =
        measure("PostgreSQL", freshPostgres(pg, QString::number(smaller)), smaller);
    compare("PostgreSQL", postgresSmall,
            measure("PostgreSQL", freshPostgres(pg, QString::number(larger)), larger));
    return 0;
}
