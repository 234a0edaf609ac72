#include "listsfixture.h"

#include "framework/core/tdatetime.h"
#include "framework/ui/controls/btnpesquisa.h"
#include "tests/framework/ui/support.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>

void ListsTest::TearDown() {
    if (frmFiltroRecCtPagar) {
        frmFiltroRecCtPagar->Filtro = TFILTRO();
        frmFiltroRecCtPagar->Filtro.VencIni = today() - 30;
        frmFiltroRecCtPagar->Filtro.VencFin = today() + 30;
    }
    for (QString *list : {&ListaFornecedor, &ListaFiliOrig, &ListaFiliLanc, &ListaTpConta})
        list->clear();
    FilterTest::TearDown();
}

QStringList ListsTest::pick(TBtnPesquisa *button, const QStringList &codes) {
    QStringList tickedAtStart;
    onNextModal([&](QWidget *picker) {
        auto *search = picker->findChild<QLineEdit *>(QStringLiteral("edtPesquisa"));
        auto *list = picker->findChild<QTreeView *>(QStringLiteral("lstPesquisaLista"));
        for (int row = 0; row < list->model()->rowCount(); ++row)
            if (list->model()->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked)
                tickedAtStart << list->model()->index(row, 0).data().toString();
        for (const QString &code : codes) {
            search->setText(code);
            QTest::keyClick(search, Qt::Key_Return);
            QTest::keyClick(list, Qt::Key_Space);
        }
        clickButton(picker, QStringLiteral("OK"));
    });
    QTest::mouseClick(button, Qt::LeftButton);
    return tickedAtStart;
}

bool ListsTest::activate(QWidget *dialog) {
    dialog->activateWindow();
    return QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; });
}

void ListsTest::confirm(TfrmFiltroRecCtPagar *filter) {
    QTest::mouseClick(filter->sbtConfirma, Qt::LeftButton);
}
