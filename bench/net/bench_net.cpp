// Calls per second of one client on loopback against the real server: the round trip of a small
// method (GetAjusPag of one instalment, answering a packet of its adjustments). Target: over 2,000/s.
#include "framework/core/datapacket.h"
#include "framework/net/checkresult.h"
#include "tests/support/serverfixture.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <benchmark/benchmark.h>

namespace {

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

void BM_GetAjusPagCallsPerSecond(benchmark::State &state) {
    ServerFixture server(ServerFixture::Options{2000, false, {}});
    server.start();
    const QStringList key = instalmentWithAdjustments(server.databaseUrl());
    const auto net = server.connection(QStringLiteral("PAG00800.rdmRecConPag"));
    net->setConnected(true);
    int rows = 0;
    for (auto _ : state) {
        const QVariant result =
            CheckResultServ(net->call("GetAjusPag", {key[0], key[1], key[2], key[3]}), true, 0);
        rows = result.value<DataPacket>().rowCount();
    }
    state.counters["calls_per_s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["target_calls_per_s"] = 2000;
    state.counters["rows_per_answer"] = rows;
}
BENCHMARK(BM_GetAjusPagCallsPerSecond)->Unit(benchmark::kMicrosecond)->MinTime(2.0)->UseRealTime();

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
