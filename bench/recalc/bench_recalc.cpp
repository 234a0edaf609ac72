#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "bench/support/summary.h"
#include "benchdb.h"
#include "framework/net/netconnection.h"
#include "tests/appserver/recalc/serverprocess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

// Prints, for each database and for two numbers of marked instalments, the instalments per second of
// one SetConfirmar run (first posting, then the same run again, which replaces every posting, best of
// three) beside the database's floor, and how far the server's peak resident memory grew over its
// size before the runs, per byte of the payable packet; then how much that growth grew from the
// smaller run to the larger one against how much the packet grew.
//
// The floor is what the database alone takes to write the run's rows, in one transaction with the same
// durability, indexes and references: for the first run, insert every line and split; for a repeated
// one, rewrite them in place. A run also reads, numbers, answers and crosses the network; its rate over
// the floor's says how much of its time is the database's own.
//
// Targets for the run of 10,000: SQLite, every commit synchronised to disk, 10,000 instalments per
// second; PostgreSQL 5,000; memory under 10 bytes per packet byte and growing no faster than the packet.
namespace {

constexpr int smaller = 5000, larger = 10000, repeats = 3;

struct Target {
    const char *name;
    double rate;
};
constexpr Target sqliteTarget{"SQLite", 10000}, postgresTarget{"PostgreSQL", 5000};
constexpr double maxBytesPerPacketByte = 10;

struct SizeFigures {
    qint64 packetBytes = 0;
    qint64 growthKiB = 0;
};

QString loadAverage() {
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).section(u' ', 0, 2)
                                          : QStringLiteral("?");
}

// What the database alone takes, durably, to write the run's rows: the first run's floor inserts every
// line and split into tables without them; the repeated run's floor rewrites every line and split in
// place with the same values, which is what a repeated run asks of the database.
struct Floor {
    double firstSeconds = 0;
    double repeatedSeconds = 0;
};

double timedTransaction(QSqlDatabase &db, const QStringList &statements) {
    QElapsedTimer timer;
    timer.start();
    db.transaction();
    for (const QString &statement : statements)
        execSql(db, statement);
    db.commit();
    return timer.nsecsElapsed() / 1e9;
}

Floor databaseFloor(const QString &url) {
    Floor floor;
    {
        QSqlDatabase db = openDatabase(url, QStringLiteral("floor"));
        execSql(db, QStringLiteral("CREATE TEMP TABLE FLOORLANC AS SELECT * FROM LANCCONTABIL"));
        execSql(db, QStringLiteral("CREATE TEMP TABLE FLOORRAT AS SELECT * FROM RATEIOLANC"));
        floor.repeatedSeconds = timedTransaction(
            db, {QStringLiteral(
                     "UPDATE LANCCONTABIL SET DTLANCCTB = F.DTLANCCTB, CDCONTCTBL = F.CDCONTCTBL,"
                     " IDDEBCRED = F.IDDEBCRED, VRLANCCTB = F.VRLANCCTB, CDHISTPADR = F.CDHISTPADR,"
                     " DSHISTCTB = F.DSHISTCTB, IDLANCCTBCOME = F.IDLANCCTBCOME,"
                     " CDLANCCTBCOME = F.CDLANCCTBCOME, CDDOCUCONT = F.CDDOCUCONT,"
                     " CDOPERADOR = F.CDOPERADOR, DTHRGRAVACAO = F.DTHRGRAVACAO FROM FLOORLANC F"
                     " WHERE LANCCONTABIL.CDEMPRESA = F.CDEMPRESA AND LANCCONTABIL.NRLANCCTB = F.NRLANCCTB"
                     " AND LANCCONTABIL.NRSEQCTB = F.NRSEQCTB"),
                 QStringLiteral(
                     "UPDATE RATEIOLANC SET CDFILIAL = F.CDFILIAL, CDCENTCUST = F.CDCENTCUST,"
                     " VRLANCCUST = F.VRLANCCUST FROM FLOORRAT F WHERE RATEIOLANC.CDEMPRESA = F.CDEMPRESA"
                     " AND RATEIOLANC.NRLANCCTB = F.NRLANCCTB AND RATEIOLANC.NRSEQCTB = F.NRSEQCTB"
                     " AND RATEIOLANC.NRSEQRAT = F.NRSEQRAT")});
        timedTransaction(db, {QStringLiteral("DELETE FROM LANCCONTABIL")});
        floor.firstSeconds =
            timedTransaction(db, {QStringLiteral("INSERT INTO LANCCONTABIL SELECT * FROM FLOORLANC"),
                                  QStringLiteral("INSERT INTO RATEIOLANC SELECT * FROM FLOORRAT")});
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("floor"));
    return floor;
}

void report(const Target &target, int instalments, const char *run, double rate, double floorRate) {
    std::printf("%-10s %6d instalments  %-8s %8.0f instalments/s  (database floor %8.0f/s, x%.2f of it)\n",
                target.name, instalments, run, rate, floorRate, floorRate / rate);
    if (instalments == larger)
        BenchSummary::figure(QStringLiteral("recalculation %1 of 10,000, %2").arg(target.name, run), rate,
                             QStringLiteral("instalments/s"), QStringLiteral(">= %1").arg(target.rate),
                             rate >= target.rate);
}

// Runs `instalments` marked instalments on a fresh server over a fresh database `url`: the first run,
// then the best of three repeated ones.
SizeFigures measure(const Target &target, const QString &url, int instalments) {
    const DataPacket payables = seedPostable(url, instalments);
    const SizeFigures figures{payables.encode().size(), 0};
    ServerProcess server(url, QProcess::nullDevice());
    if (!server.started()) {
        std::printf("%-10s server did not start: %s\n", target.name, qPrintable(server.errorText()));
        return figures;
    }
    const qint64 idleKiB = server.peakMemoryKiB();
    std::printf("%-10s %6d instalments  payable packet %lld KiB encoded  (load average %s)\n", target.name,
                instalments, figures.packetBytes / 1024, qPrintable(loadAverage()));
    const RunFigures first = confirm(server.port(), payables);
    double repeated = 0;
    QString status = first.status;
    for (int i = 0; i < repeats; ++i) {
        const RunFigures timed = confirm(server.port(), payables);
        repeated = std::max(repeated, instalments / timed.seconds);
        if (timed.status != first.status)
            status = timed.status;
    }
    const qint64 growthKiB = server.peakMemoryKiB() - idleKiB;
    if (status != QLatin1String("OK"))
        std::printf("%-10s %6d instalments  a run answered %s\n", target.name, instalments,
                    qPrintable(status));
    const Floor floor = databaseFloor(url);
    report(target, instalments, "first", instalments / first.seconds, instalments / floor.firstSeconds);
    report(target, instalments, "repeated", repeated, instalments / floor.repeatedSeconds);
    const double perByte = double(growthKiB) * 1024 / double(figures.packetBytes);
    std::printf("%-10s %6d instalments  server peak memory %lld KiB, %lld KiB over its %lld KiB before the "
                "runs: %.1f bytes per packet byte\n",
                target.name, instalments, idleKiB + growthKiB, growthKiB, idleKiB, perByte);
    if (instalments == larger)
        BenchSummary::figure(QStringLiteral("recalculation %1 of 10,000, server memory").arg(target.name),
                             perByte, QStringLiteral("bytes per packet byte"),
                             QStringLiteral("< %1").arg(maxBytesPerPacketByte),
                             perByte < maxBytesPerPacketByte);
    return {figures.packetBytes, growthKiB};
}

void compare(const Target &target, const SizeFigures &small, const SizeFigures &large) {
    if (small.growthKiB <= 0 || large.growthKiB <= 0)
        return;
    const double growth = double(large.growthKiB) / double(small.growthKiB);
    const double packet = double(large.packetBytes) / double(small.packetBytes);
    std::printf("%-10s from %d to %d instalments the memory growth went x%.2f for a packet x%.2f\n",
                target.name, smaller, larger, growth, packet);
    BenchSummary::figure(
        QStringLiteral("recalculation %1, memory growth from 5,000 to 10,000 over the packet's")
            .arg(target.name),
        growth / packet, QStringLiteral("x"), QStringLiteral("<= 1"), growth <= packet);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    TNetConnection::setCredentialsProvider([] { return NetCredentials{"admin", "admin"}; });
    QTemporaryDir dir;
    const auto sqlite = [&](int instalments) {
        return QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("bench%1.sqlite").arg(instalments));
    };
    const SizeFigures sqliteSmall = measure(sqliteTarget, sqlite(smaller), smaller);
    compare(sqliteTarget, sqliteSmall, measure(sqliteTarget, sqlite(larger), larger));
    const QString pg = qEnvironmentVariable("PAG_TEST_PG_URL");
    if (pg.isEmpty()) {
        std::printf("PostgreSQL skipped: PAG_TEST_PG_URL is not set\n");
        return 0;
    }
    const SizeFigures postgresSmall =
        measure(postgresTarget, freshPostgres(pg, QString::number(smaller)), smaller);
    compare(postgresTarget, postgresSmall,
            measure(postgresTarget, freshPostgres(pg, QString::number(larger)), larger));
    return 0;
}
