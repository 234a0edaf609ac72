// The application server's memory under a client that sends without reading: 2,000 GetCntPagar calls
// pipelined on one connection, their answers never read. The server reads a call only once the answer
// to the previous one is written out, so it holds one answer, not all of them. Target: the server's
// resident memory under 64 MiB above what it holds after answering one such call.
#include "bench/support/summary.h"
#include "framework/net/wire.h"
#include "tests/support/plainclient.h"
#include "tests/support/serverfixture.h"

#include <QCborArray>
#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {

const QString module = QStringLiteral("PAG00800.rdmRecConPag");

// Every instalment of company 01, every list empty.
QCborArray everyInstalment() {
    const QVariantList values = {"01",  false, "",    "",  "",  0.0, 0.0, 0.0, 0.0,
                                 false, "",    false, "",  0.0, 0.0, 0.0, 0.0, false,
                                 false, false, "",    0.0, 0.0, 0.0, 0.0, "T"};
    Wire::Message plain;
    QCborArray args;
    for (const QVariant &value : values)
        args.append(plain.toWire(value));
    return args;
}

double residentMiB(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    ServerFixture server(ServerFixture::Options{2000, false, {}});
    server.start();
    PlainClient client(server.port());
    client.queue(PlainClient::hello(QStringLiteral("admin"), QStringLiteral("admin")));
    client.queue(PlainClient::call(1, module, QStringLiteral("GetCntPagar"), everyInstalment()));
    const QList<Wire::Message> first = client.receive(2);
    if (first.size() != 2 ||
        first.last().value(QLatin1StringView("type")).toString() != QStringLiteral("result")) {
        std::fprintf(stderr, "GetCntPagar was not answered\n");
        return 1;
    }
    const qint64 answerBytes = Wire::encodeFrame(first.last()).size();
    const double settled = residentMiB(server.processId());

    constexpr int calls = 2000;
    for (int id = 2; id <= calls + 1; ++id)
        client.queue(PlainClient::call(id, module, QStringLiteral("GetCntPagar"), everyInstalment()));
    client.sendWithoutReading();
    // The server's worst is reached within moments: sample it for three seconds.
    double peak = 0;
    for (int sample = 0; sample < 30; ++sample) {
        QThread::msleep(100);
        peak = std::max(peak, residentMiB(server.processId()));
    }
    const double growth = peak - settled;
    std::printf(
        "GetCntPagar answer %.2f MiB; %d calls pipelined (%.2f MiB sent of %.2f MiB); server resident "
        "%.1f MiB settled, %.1f MiB at most\n",
        double(answerBytes) / (1 << 20), calls, double(client.sent()) / (1 << 20),
        double(client.queued()) / (1 << 20), settled, peak);
    BenchSummary::figure(QStringLiteral("server memory with 2,000 calls sent and never read"), growth,
                         QStringLiteral("MiB above settled"), QStringLiteral("< 64 MiB"), growth < 64);
    return 0;
}
