#include "filterfixture.h"

#include "framework/core/tdatetime.h"
#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "framework/session/norvela.h"
#include "framework/ui/controls/maskedit.h"
#include "server_contract/recconpag.h"
#include "tests/framework/ui/support.h"

#include <QApplication>
#include <QTest>

using namespace RecConPag;

TfrmRecCtPagar *FilterTest::openWithCompany(const QString &company) {
    TfrmRecCtPagar *screen = openScreen();
    if (screen)
        screen->medCdEmpresa->setText(company);
    return screen;
}

void FilterTest::inDialog(const std::function<void(TfrmFiltroRecCtPagar *)> &action) {
    onNextModal([action](QWidget *dialog) {
        auto *filter = qobject_cast<TfrmFiltroRecCtPagar *>(dialog);
        if (!filter) {
            ADD_FAILURE() << "the modal dialog is not the filter";
            dialog->close();
            return;
        }
        if (QTest::qWaitFor([filter] { return QApplication::activeWindow() == filter; }))
            action(filter);
        else
            ADD_FAILURE() << "the filter did not become the active window";
        if (filter->isVisible())
            QTest::keyClick(filter, Qt::Key_Escape);
    });
    CriaFiltroRecContPagar(QStringLiteral("BOTAO_FILTRO"));
}

void FilterTest::typeInto(QLineEdit *entry, const QString &text) {
    QTest::mouseClick(entry, Qt::LeftButton);
    entry->selectAll();
    QTest::keyClicks(entry, text);
}

QString FilterTest::typedDate(int days) {
    return toDate(today() + days).toString(QStringLiteral("ddMMyyyy"));
}

DataPacket FilterTest::fetchDirect(const QString &company, const QMap<int, QVariant> &overrides) {
    QVariantList values = {company,      false,
                           QString(),    QString(),
                           QString(),    0.0,
                           0.0,          0.0,
                           0.0,          false,
                           QString(),    false,
                           QString(),    0.0,
                           0.0,          today() - 30,
                           today() + 30, false,
                           false,        false,
                           QString(),    0.0,
                           0.0,          0.0,
                           0.0,          QStringLiteral("T")};
    for (auto it = overrides.cbegin(); it != overrides.cend(); ++it)
        values[it.key()] = it.value();
    QStringList texts(CntPagarArgCount);
    QList<NetArg> args;
    for (int i = 0; i < CntPagarArgCount; ++i) {
        const bool byReference = i == ArgFornecedores || i == ArgFiliOrig || i == ArgFiliLanc ||
                                 i == ArgTiposConta || i == ArgContabil;
        texts[i] = values[i].toString();
        args << (byReference ? NetArg(&texts[i]) : NetArg(values[i]));
    }
    if (!direct) {
        direct = std::make_unique<TNetConnection>();
        direct->setServerName(serverName);
        direct->setHost(Norvela::WebURL());
        direct->setPort(quint16(Norvela::WebPort()));
    }
    return CheckResultServ(direct->call(Method::GetCntPagar, args), true, 0).value<DataPacket>();
}

QStringList FilterTest::payables(const DataPacket &packet) {
    ClientDataSet rows;
    rows.setData(packet);
    QStringList list;
    for (rows.first(); !rows.eof(); rows.next()) {
        QStringList key;
        for (const char *field : {"CDFILIAL", "NRLANCTONF", "NRSEQVENPAG", "NRPARCELAPAG"})
            key << rows.fieldByName(field)->asString();
        list << key.join(u'/');
    }
    return list;
}

QStringList FilterTest::fetchedPayables() const {
    return frmRecCtPagar && frmRecCtPagar->cdsCntPagar->active()
               ? payables(frmRecCtPagar->cdsCntPagar->data())
               : QStringList();
}
