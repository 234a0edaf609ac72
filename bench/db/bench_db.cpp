// GetCntPagar end to end (query, encode, send, decode, load into a ClientDataSet) beside the same rows
// read straight from the database with QSqlQuery, against a real pagserver process on loopback over
// SQLite files of 10,000 and 100,000 instalments of one company.

#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "framework/core/dataset.h"
#include "framework/net/netconnection.h"
#include "server_contract/recconpag.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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

std::map<std::string, double> secondsPerRun;

void record(benchmark::State &state, const std::string &name, double seconds, int rows) {
    secondsPerRun[name + "/" + std::to_string(state.range(0))] = seconds / double(state.iterations());
    state.counters["rows"] = rows;
    state.counters["rows/s"] = benchmark::Counter(double(rows) * double(state.iterations()) / seconds);
}

void remoteFetch(benchmark::State &state) {
    Server &target = server(int(state.range(0)));
    TNetConnection net;
    net.setServerName(RecConPag::serverName);
    net.setPort(target.port);
    net.setConnected(true);
    QElapsedTimer timer;
    double seconds = 0;
    int rows = 0;
    for (auto _ : state) {
        QString lists[5] = {"", "", "", "", "T"};
        timer.start();
        const QVariant result = net.call(RecConPag::Method::GetCntPagar, cntPagarArgs(lists));
        ClientDataSet dataSet;
        dataSet.setData(result.value<DataPacket>());
        seconds += timer.nsecsElapsed() / 1e9;
        rows = dataSet.recordCount();
    }
    record(state, "remote", seconds, rows);
}

void directRead(benchmark::State &state) {
    Server &target = server(int(state.range(0)));
    const QString connection = QStringLiteral("direct%1").arg(state.range(0));
    QSqlDatabase db = QSqlDatabase::contains(connection) ? QSqlDatabase::database(connection)
                                                         : openDatabase(target.url, connection);
    QElapsedTimer timer;
    double seconds = 0;
    int rows = 0;
    for (auto _ : state) {
        timer.start();
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
        seconds += timer.nsecsElapsed() / 1e9;
        rows = int(table.size());
    }
    record(state, "direct", seconds, rows);
}

BENCHMARK(remoteFetch)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(directRead)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void stopServers() {
    for (auto &[rows, running] : servers) {
        running.process->terminate();
        running.process->waitForFinished(10000);
    }
}

void printRatios() {
    for (const char *size : {"10000", "100000"}) {
        const double remote = secondsPerRun[std::string("remote/") + size];
        const double direct = secondsPerRun[std::string("direct/") + size];
        if (remote > 0 && direct > 0)
            std::printf("GetCntPagar %s rows: remote %.1f ms, direct %.1f ms, ratio %.2f (target <= 2)\n",
                        size, remote * 1e3, direct * 1e3, remote / direct);
    }
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    TNetConnection::setCredentialsProvider([] { return NetCredentials{"admin", "admin"}; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    printRatios();
    stopServers();
    benchmark::Shutdown();
    return 0;
}
