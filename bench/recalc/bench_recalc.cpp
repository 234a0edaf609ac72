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

// Prints, for each database, the instalments per second of one SetConfirmar run over 10,000 marked
// instalments (first posting, then the same run again, which replaces every posting) and the
// server's peak resident memory.
namespace {

constexpr int instalments = 10000;

struct Figures {
    double seconds = 0;
    QString status;
};

Figures confirm(quint16 port, const DataPacket &payables) {
    TNetConnection net;
    net.setServerName(RecConPag::serverName);
    net.setPort(port);
    net.setCallTimeout(600000);
    net.setConnected(true);
    QElapsedTimer timer;
    timer.start();
    const QVariant answer = net.call(RecConPag::Method::SetConfirmar, {payables, "admin", "01"});
    Figures figures{timer.nsecsElapsed() / 1e9, {}};
    figures.status =
        isServerFailure(answer) ? serverFailureText(answer) : answer.toList().value(0).toString();
    return figures;
}

void measure(const char *name, const QString &url) {
    DataPacket payables;
    {
        QSqlDatabase db = openDatabase(url, QStringLiteral("bench"));
        migrate(db);
        seedDemo(db, 0);
        payables = addPostableInstalments(db, instalments);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    ServerProcess server(url);
    if (!server.started()) {
        std::printf("%-10s server did not start: %s\n", name, qPrintable(server.errorText()));
        return;
    }
    const qint64 idleKiB = server.peakMemoryKiB();
    std::printf("%-10s payable packet %lld KiB encoded\n", name, qint64(payables.encode().size()) / 1024);
    for (const char *run : {"first", "repeated"}) {
        const Figures figures = confirm(server.port(), payables);
        std::printf("%-10s %-8s %6d instalments  %8.0f instalments/s  status %s\n", name, run, instalments,
                    instalments / figures.seconds, qPrintable(figures.status));
    }
    std::printf("%-10s server peak memory %lld KiB (%lld KiB before the runs)\n", name,
                server.peakMemoryKiB(), idleKiB);
}

QString freshPostgres(const QString &adminUrl) {
    const QString name = QStringLiteral("pagbench_%1").arg(QCoreApplication::applicationPid());
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
    measure("SQLite", QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("bench.sqlite")));
    const QString pg = qEnvironmentVariable("PAG_TEST_PG_URL");
    if (pg.isEmpty())
        std::printf("PostgreSQL skipped: PAG_TEST_PG_URL is not set\n");
    else
        measure("PostgreSQL", freshPostgres(pg));
    return 0;
}
