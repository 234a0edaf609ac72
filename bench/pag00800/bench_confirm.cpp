#include "appserver/db/database.h"
#include "bench/support/summary.h"
#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "framework/session/dbgeral.h"
#include "framework/session/norvela.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/messages/scriptedmessages.h"
#include "host/mainwindow.h"
#include "pag00800/tfrmrecctpagar.h"
#include "pag00801/tfrmfiltrorecctpagar.h"
#include "server_contract/recconpag.h"
#include "tests/appserver/recalc/serverprocess.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>

// Confirms 10,000 marked instalments through the recalculation screen, as a clerk would with the
// dialogs answered by the scripted service, against the real server over SQLite. Prints the time from
// the click to the re-fetched list beside the server's own time for SetConfirmar (its call log), and
// the rest: the client's share (packet out, answer in, fetching the list again).
//
// Target: the client's share under half of the total.
namespace {

constexpr int instalments = 10000;

void seed(const QString &url) {
    {
        QSqlDatabase db = openDatabase(url, QStringLiteral("bench"));
        migrate(db);
        seedDemo(db, 0);
        addPostableInstalments(db, instalments);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
}

// Milliseconds that the server logged for its last call of the method.
double serverMilliseconds(const QString &logFile, const QString &method) {
    QFile log(logFile);
    if (!log.open(QIODevice::ReadOnly))
        return 0;
    const QRegularExpression call(QStringLiteral("method=%1 ms=([0-9.]+)").arg(method));
    double ms = 0;
    for (auto match = call.globalMatch(QString::fromUtf8(log.readAll())); match.hasNext();)
        ms = match.next().captured(1).toDouble();
    return ms;
}

// The company's accounting period, as leaving the company field loads it; marking checks against it.
void loadAccountingPeriod(TfrmRecCtPagar *screen, const QString &company) {
    const QVariant period = screen->netRecContaPagar->call(RecConPag::Method::GETPerContabil, {company});
    screen->cdsPerContabil->setData(CheckResultServ(period, true, 0).value<DataPacket>());
}

// A click on the marking column's title, its question answered Yes.
void markEveryRow(TfrmRecCtPagar *screen, ScriptedMessages &messages) {
    for (int column = 0; column < screen->dbgPadrao->columns().size(); ++column) {
        const Field *field = screen->dbgPadrao->fieldOf(column);
        if (field && field->name() == u"IDMARCADO") {
            messages.answer(ResultYes);
            screen->dbgPadraoTitleClick(column);
        }
    }
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString url = QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("bench.sqlite"));
    const QString logFile = dir.filePath(QStringLiteral("server.log"));
    seed(url);
    ServerProcess server(url, logFile);
    if (!server.started()) {
        std::printf("server did not start: %s\n", qPrintable(server.errorText()));
        return 1;
    }
    Norvela::setWebURL(QStringLiteral("127.0.0.1"));
    Norvela::setWebPort(server.port());
    Norvela::setOperador(QStringLiteral("admin"), QStringLiteral("admin"));
    dtmDBGeral()->open(url);
    ScriptedMessages messages;
    HostMainWindow host;
    host.show();
    host.openScreen(QStringLiteral("PAG00800"));
    TfrmRecCtPagar *screen = frmRecCtPagar;
    if (!screen) {
        std::printf("the screen did not open: %s\n", qPrintable(messages.texts().join(u'\n')));
        return 1;
    }
    screen->medCdEmpresa->setText(QStringLiteral("01"));
    loadAccountingPeriod(screen, QStringLiteral("01"));
    CriaFiltroRecContPagar(QStringLiteral("ESCONDE_FILTRO"));
    markEveryRow(screen, messages);
    const int marked = screen->markedSet()->Count();
    messages.clear();

    QElapsedTimer timer;
    timer.start();
    screen->sbtConfirmar->click();
    const double total = timer.nsecsElapsed() / 1e9;
    const double serverSide = serverMilliseconds(logFile, QStringLiteral("SetConfirmar")) / 1000;

    std::printf("confirm   %6d marked, %d rows fetched again  messages: %s\n", marked,
                screen->cdsCntPagar->recordCount(), qPrintable(messages.texts().join(QStringLiteral(" | "))));
    std::printf("confirm   click to re-fetched list %8.2f s\n", total);
    std::printf("confirm   server's SetConfirmar    %8.2f s\n", serverSide);
    const double clientShare = total > 0 ? 100 * (total - serverSide) / total : 0.0;
    std::printf("confirm   client's share           %8.2f s  %5.1f%% of the total (target under 50%%)\n",
                total - serverSide, clientShare);
    BenchSummary::figure(QStringLiteral("confirm 10,000 marked: client's share of the time"), clientShare,
                         QStringLiteral("%"), QStringLiteral("< 50 %"), clientShare < 50);
    screen->closeForm();
    dtmDBGeral()->close();
    return 0;
}
