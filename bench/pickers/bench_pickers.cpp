#include "appserver/db/database.h"
#include "framework/core/datasource.h"
#include "framework/session/adoibquery.h"
#include "framework/session/dbgeral.h"
#include "framework/ui/controls/btnpesquisa.h"
#include "framework/ui/locale.h"
#include "framework/ui/messages/scriptedmessages.h"
#include "pag00801/listqueries.h"
#include "pag00801/tfrmfiltrorecctpagar.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <cstdio>
#include <functional>

// Prints, with 50,000 suppliers in an SQLite file read through the shared connection, beside a plain
// QSqlQuery read of the same table: opening the filter's supplier selection (the table read afresh
// and the dialog on screen), each keystroke of a search by part of a name, marking all 50,000, and
// confirming them with the list text built.
namespace {

constexpr int supplierCount = 50000;

void seedSuppliers(const QString &url) {
    QSqlDatabase db = openDatabase(url, QStringLiteral("bench.seed"));
    migrate(db);
    static const char *const first[] = {"Alfa",  "Brasil", "Central", "Delta", "Estrela",   "Horizonte",
                                        "Ideal", "Líder",  "Norte",   "Oeste", "Primavera", "Real"};
    static const char *const second[] = {"Materiais",   "Serviços",  "Transportes", "Papelaria",  "Elétrica",
                                         "Informática", "Alimentos", "Química",     "Metalúrgica"};
    db.transaction();
    QSqlQuery insert(db);
    insert.prepare(
        QStringLiteral("INSERT INTO FORNECEDOR (CDFORNECED, NMRAZSOCFORN, NMFANTFORN, IDTPIJURFORN,"
                       " NRINSJURFORN) VALUES (?, ?, ?, ?, ?)"));
    for (int i = 1; i <= supplierCount; ++i) {
        const bool person = i % 7 == 0;
        const QString trade = QStringLiteral("%1 %2 %3")
                                  .arg(QString::fromUtf8(first[i % 12]), QString::fromUtf8(second[i % 9]))
                                  .arg(i);
        insert.addBindValue(QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')));
        insert.addBindValue(trade + QStringLiteral(" Ltda"));
        insert.addBindValue(trade);
        insert.addBindValue(person ? QStringLiteral("F") : QStringLiteral("J"));
        insert.addBindValue(person ? QStringLiteral("%1").arg(10000000000LL + i * 7919LL)
                                   : QStringLiteral("%1").arg(10000000000000LL + i * 104729LL));
        insert.exec();
    }
    db.commit();
}

double plainRead() {
    QElapsedTimer timer;
    timer.start();
    QSqlQuery query(dtmDBGeral()->database());
    query.setForwardOnly(true);
    query.exec(QStringLiteral("SELECT IDTPIJURFORN, NRINSJURFORN, NMFANTFORN, NMRAZSOCFORN, CDFORNECED FROM "
                              "FORNECEDOR ORDER BY CDFORNECED"));
    int rows = 0;
    while (query.next()) {
        for (int column = 0; column < 5; ++column)
            query.value(column).toString();
        ++rows;
    }
    return timer.nsecsElapsed() / 1e6;
}

double milliseconds(const std::function<void()> &step) {
    QElapsedTimer timer;
    timer.start();
    step();
    QApplication::processEvents();
    return timer.nsecsElapsed() / 1e6;
}

struct Figures {
    double open = 0, slowestKey = 0, allKeys = 0, markAll = 0;
    int found = 0;
};

// Runs in the dialog's event loop; ends by confirming every supplier.
void driveDialog(QWidget *dialog, QElapsedTimer &sinceClick, Figures &figures) {
    figures.open = sinceClick.nsecsElapsed() / 1e6;
    auto *search = dialog->findChild<QLineEdit *>(QStringLiteral("edtPesquisa"));
    auto *list = dialog->findChild<QTreeView *>(QStringLiteral("lstPesquisaLista"));
    for (QChar key : QStringLiteral("horizonte transportes 4")) {
        const double ms = milliseconds([&] { QTest::keyClick(search, key.toLatin1()); });
        figures.slowestKey = std::max(figures.slowestKey, ms);
        figures.allKeys += ms;
    }
    figures.found = list->model()->rowCount();
    search->clear();
    auto *markShown = dialog->findChild<QPushButton *>(QStringLiteral("btnMarcarMostrados"));
    figures.markAll = milliseconds([&] { markShown->click(); });
    auto *ok = [&] {
        for (QPushButton *button : dialog->findChildren<QPushButton *>())
            if (button->text() == QStringLiteral("OK"))
                return button;
        return static_cast<QPushButton *>(nullptr);
    }();
    sinceClick.restart();
    ok->click();
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    usePortugueseLocale();
    QTemporaryDir folder;
    const QString url = QStringLiteral("sqlite:") + folder.filePath(QStringLiteral("bench.sqlite"));
    seedSuppliers(url);
    QSqlDatabase::removeDatabase(QStringLiteral("bench.seed"));
    dtmDBGeral()->open(url);
    ScriptedMessages messages;

    const double plain = plainRead();
    TADOIBQuery shared;
    prepareFornecedorQuery(&shared);
    const double sharedRead = milliseconds([&] { shared.Open(); });
    TfrmFiltroRecCtPagar filter;
    filter.rbtListaForn->setChecked(true);
    Figures figures;
    QElapsedTimer sinceClick;
    QTimer::singleShot(0, [&] { driveDialog(QApplication::activeModalWidget(), sinceClick, figures); });
    sinceClick.start();
    filter.btnListForn->click();
    const double confirm = sinceClick.nsecsElapsed() / 1e6;

    std::printf("suppliers: %d\n", supplierCount);
    std::printf("plain QSqlQuery read of the table:             %8.1f ms\n", plain);
    std::printf("the same read into the list query:              %8.1f ms\n", sharedRead);
    std::printf("opening the supplier selection (read + dialog): %8.1f ms\n", figures.open);
    std::printf(
        "search \"horizonte transportes 4\", per keystroke:  %8.1f ms slowest, %.1f ms all, %d found\n",
        figures.slowestKey, figures.allKeys, figures.found);
    std::printf("marking all %d:                             %8.1f ms\n", supplierCount, figures.markAll);
    std::printf("confirming all %d (list text built):       %8.1f ms, %lld characters\n", supplierCount,
                confirm, qlonglong(ListaFornecedor.size()));
    dtmDBGeral()->close();
    return 0;
}
