// GetCntPagar end to end (query, encode, send, decode, load into a ClientDataSet) beside the same rows
// read straight from the database with QSqlQuery into variants, against a real pagserver process on
// loopback over SQLite files of 10,000 and 100,000 instalments of one company. Target: the server's
// answer at or below the direct read.

#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "bench/support/summary.h"
#include "framework/core/dataset.h"
#include "framework/net/netconnection.h"
#include "server_contract/recconpag.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace {

// Company 01 holds about 60 % of the demo instalments.
int seedSizeFor(int companyRows) {
    return companyRows * 10 / 6;
}

struct Server {
    QString url;
    std::unique_ptr<QProcess> process;
    quint16 port = 0;
};

QTemporaryDir &workDir() {
    static QTemporaryDir dir;
    return dir;
}

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

Server startServer(int companyRows) {
    Server server;
    server.url = QStringLiteral("sqlite:%1/bench%2.sqlite").arg(workDir().path()).arg(companyRows);
    {
        QSqlDatabase db = openDatabase(server.url, QStringLiteral("seed"));
        migrate(db);
        seedDemo(db, seedSizeFor(companyRows));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("seed"));
    server.port = freePort();
    server.process = std::make_unique<QProcess>();
    server.process->setStandardErrorFile(QProcess::nullDevice());
    server.process->start(QCoreApplication::applicationDirPath() + QStringLiteral("/pagserver"),
                          {"--port", QString::number(server.port), "--database", server.url});
    while (server.process->waitForReadyRead(30000))
        if (server.process->readAll().contains("listening"))
            return server;
    qFatal("pagserver did not start");
}

std::map<int, Server> servers;

Server &server(int companyRows) {
    auto found = servers.find(companyRows);
    if (found == servers.end())
        found = servers.emplace(companyRows, startServer(companyRows)).first;
    return found->second;
}

QList<NetArg> cntPagarArgs(QString *lists) {
    return {"01",  false,     &lists[0], "",        "",  0.0, 0.0, 0.0,      0.0,
            false, &lists[1], false,     &lists[2], 0.0, 0.0, 0.0, 0.0,      false,
            false, false,     &lists[3], 0.0,       0.0, 0.0, 0.0, &lists[4]};
}

// Best seconds of each side per size: the machine is shared, so the two reads alternate in one loop and
// the fastest of several runs of each is compared with the fastest of the other.
struct Best {
    double remote = 0;
    double direct = 0;
};
std::map<int, Best> best;

void keepBest(double &kept, double seconds) {
    if (kept == 0 || seconds < kept)
        kept = seconds;
}

// GetCntPagar through the server, the answer decoded and loaded into a dataset as the screen does.
int remoteFetch(TNetConnection &net) {
    QString lists[5] = {"", "", "", "", "T"};
    const QVariant result = net.call(RecConPag::Method::GetCntPagar, cntPagarArgs(lists));
    ClientDataSet dataSet;
    dataSet.setData(result.value<DataPacket>());
    return dataSet.recordCount();
}

// The same rows read with QSqlQuery into variants, as a client connected to the database would.
int directRead(QSqlDatabase &db) {
    QSqlQuery query = runSql(
        db,
        "SELECT 'N', C.DSCONTAPAG, C.CDFILIAL, C.NRLANCTONF, C.NRSEQVENPAG, C.DTATUAVENPAG, "
        "F.NMRAZSOCFORN,"
        " C.CDMOTIPROR, C.CDMOTIPARC, C.IDSTATPAG, C.CDTPCTPAGAR, C.VRATUAPAG, FI.CDEMPRESA, "
        "F.NRINSJURFORN,"
        " N.CDFORNECED, T.DSTPCTPAGAR, N.CDSERIE, N.CDFILIEMIT, N.NRNOTAFISC, C.NRLANCTBDOC, N.IDSTATUS,"
        " N.VRNOTAFISC, N.DTENTRSAID, N.CDFILIRECE, N.CDSERIEENTR, C.NRPARCELAPAG, F.NMFANTFORN, "
        "C.IDCTBLCTPAG"
        " FROM CONTAPAGAR C JOIN FILIAL FI ON FI.CDFILIAL = C.CDFILIAL"
        " JOIN NOTAFISCAL N ON N.CDFILIAL = C.CDFILIAL AND N.NRLANCTONF = C.NRLANCTONF"
        " JOIN FORNECEDOR F ON F.CDFORNECED = N.CDFORNECED JOIN TIPOCTPAGAR T ON T.CDTPCTPAGAR = "
        "C.CDTPCTPAGAR"
        " WHERE FI.CDEMPRESA = ? ORDER BY C.DTATUAVENPAG, C.CDFILIAL, C.NRLANCTONF, C.NRSEQVENPAG,"
        " C.NRPARCELAPAG",
        {"01"});
    QList<QVariantList> table;
    while (query.next()) {
        QVariantList row;
        row.reserve(28);
        for (int i = 0; i < 28; ++i)
            row << query.value(i);
        table << row;
    }
    return int(table.size());
}

template <typename Read> double secondsOf(Read read, int &rows) {
    QElapsedTimer timer;
    timer.start();
    rows = read();
    return double(timer.nsecsElapsed()) / 1e9;
}

void fetchBesideDirect(benchmark::State &state) {
    const int size = int(state.range(0));
    Server &target = server(size);
    TNetConnection net;
    net.setServerName(RecConPag::serverName);
    net.setPort(target.port);
    net.setConnected(true);
    const QString connection = QStringLiteral("direct%1").arg(size);
    QSqlDatabase db = openDatabase(target.url, connection);
    Best &kept = best[size];
    int remoteRows = 0;
    int directRows = 0;
    for (auto _ : state) {
        keepBest(kept.remote, secondsOf([&] { return remoteFetch(net); }, remoteRows));
        keepBest(kept.direct, secondsOf([&] { return directRead(db); }, directRows));
    }
    if (remoteRows != directRows)
        state.SkipWithError("the server and the direct read found different rows");
    state.counters["rows"] = remoteRows;
    state.counters["remote_ms"] = kept.remote * 1e3;
    state.counters["direct_ms"] = kept.direct * 1e3;
}

BENCHMARK(fetchBesideDirect)->Arg(10000)->Iterations(12)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(fetchBesideDirect)->Arg(100000)->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();

void stopServers() {
    for (auto &[rows, running] : servers) {
        running.process->terminate();
        running.process->waitForFinished(10000);
    }
}

void reportFigures() {
    for (const auto &[size, kept] : best) {
        if (kept.remote <= 0 || kept.direct <= 0)
            continue;
        const double ratio = kept.remote / kept.direct;
        std::printf("GetCntPagar %d rows: remote %.1f ms, direct %.1f ms (best of each)\n", size,
                    kept.remote * 1e3, kept.direct * 1e3);
        BenchSummary::figure(QStringLiteral("GetCntPagar %1 rows, server and decode / direct QSqlQuery")
                                 .arg(QLocale(QLocale::English).toString(size)),
                             ratio, QStringLiteral("x"), QStringLiteral("<= 1.0x"), ratio <= 1.0);
    }
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    TNetConnection::setCredentialsProvider([] { return NetCredentials{"admin", "admin"}; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    reportFigures();
    stopServers();
    benchmark::Shutdown();
    return 0;
}
