#include "filterdata.h"
#include "filterfixture.h"

#include "framework/core/abort.h"
#include "framework/core/tdatetime.h"
#include "framework/net/netconnection.h"
#include "framework/session/norvela.h"
#include "framework/ui/controls/btnpesquisa.h"
#include "framework/ui/controls/dateeditplus.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/controls/radiogroup.h"
#include "server_contract/recconpag.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

using namespace RecConPag;

TEST_F(FilterTest, FirstSilentRunFetchesWithTheDefaultsWithoutShowingTheScreen) {
    ASSERT_NE(openWithCompany(QStringLiteral("01")), nullptr);
    CriaFiltroRecContPagar(QStringLiteral("ESCONDE_FILTRO"));

    EXPECT_EQ(messages.texts(), QStringList());
    ASSERT_TRUE(FiltroCriado);
    ASSERT_FALSE(frmFiltroRecCtPagar.isNull());
    EXPECT_FALSE(frmFiltroRecCtPagar->isVisible());
    // Every supplier, branch and type, no document or dates, values 0 to 0, today - 30 to today + 30
    // (the demo parameters), both situations, "T".
    const QStringList expected = payables(fetchDirect(QStringLiteral("01")));
    EXPECT_FALSE(expected.isEmpty());
    EXPECT_EQ(fetchedPayables(), expected);
    EXPECT_EQ(frmFiltroRecCtPagar->Filtro.VencIni, today() - 30);
    EXPECT_EQ(frmFiltroRecCtPagar->Filtro.VencFin, today() + 30);
    EXPECT_EQ(frmFiltroRecCtPagar->depVencIni->GetDate(), today() - 30);
    // The run closes the screen: both connections are closed, the cursor is the default one.
    EXPECT_FALSE(frmFiltroRecCtPagar->netFiltroRecContaPagar->connected());
    EXPECT_FALSE(frmFiltroRecCtPagar->netRecContaPagar->connected());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(FilterTest, OtherModesOnlyCreateTheScreenOnce) {
    ASSERT_NE(openWithCompany(QStringLiteral("01")), nullptr);
    CriaFiltroRecContPagar(QStringLiteral("esconde_filtro"));
    ASSERT_TRUE(FiltroCriado);
    QPointer<TfrmFiltroRecCtPagar> created = frmFiltroRecCtPagar;
    EXPECT_FALSE(created->isVisible());
    EXPECT_FALSE(frmRecCtPagar->cdsCntPagar->active());
    // Branch 0101 numbers documents 9 wide.
    EXPECT_EQ(created->medNrDocuIni->maxLength(), 9);

    CriaFiltroRecContPagar(QStringLiteral("outro"));
    EXPECT_EQ(frmFiltroRecCtPagar, created);
    EXPECT_FALSE(frmRecCtPagar->cdsCntPagar->active());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(messages.texts(), QStringList());
}

TEST_F(FilterTest, ButtonModeShowsTheDialogOverTheHostAndEscClosesIt) {
    ASSERT_NE(openWithCompany(QStringLiteral("01")), nullptr);
    bool shown = false;
    inDialog([&](TfrmFiltroRecCtPagar *filter) {
        shown = true;
        EXPECT_TRUE(filter->isModal());
        EXPECT_EQ(filter->windowTitle(), QStringLiteral("Filtro de Recálculo de Contas a Pagar"));
        EXPECT_TRUE(filter->frameGeometry().intersects(host->frameGeometry()));
        EXPECT_TRUE(filter->screen()->availableGeometry().contains(filter->frameGeometry()));
        EXPECT_TRUE(filter->netRecContaPagar->connected());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        QTest::keyClick(filter, Qt::Key_Escape);
        EXPECT_FALSE(filter->isVisible());
    });
    EXPECT_TRUE(shown);
    EXPECT_FALSE(frmFiltroRecCtPagar->netRecContaPagar->connected());
    EXPECT_FALSE(frmRecCtPagar->cdsCntPagar->active());
}

// Unconfirmed edits are gone at the next opening; the situation boxes keep what the user gave them.
TEST_F(FilterTest, ACancelledDialogShowsTheLastConfirmedCriteriaAgain) {
    ASSERT_NE(openWithCompany(QStringLiteral("01")), nullptr);
    inDialog([](TfrmFiltroRecCtPagar *filter) {
        filter->rdgCtbl->setItemIndex(1);
        QTest::mouseClick(filter->sbtConfirma, Qt::LeftButton);
    });
    const QStringList confirmed = fetchedPayables();
    inDialog([](TfrmFiltroRecCtPagar *filter) {
        typeInto(filter->depVencIni, typedDate(-1));
        filter->rdgCtbl->setItemIndex(0);
        filter->rbtListaForn->setChecked(true);
        ListaFornecedor = QStringLiteral("000001");
        QTest::mouseClick(filter->chbAVencer, Qt::LeftButton);
    });
    EXPECT_EQ(fetchedPayables(), confirmed);
    inDialog([](TfrmFiltroRecCtPagar *filter) {
        EXPECT_EQ(filter->depVencIni->GetDate(), today() - 30);
        EXPECT_EQ(filter->rdgCtbl->ItemIndex(), 1);
        EXPECT_TRUE(filter->rbtTodosForn->isChecked());
        EXPECT_FALSE(filter->btnListForn->isEnabled());
        EXPECT_EQ(ListaFornecedor, QString());
        EXPECT_TRUE(filter->chbAVencer->isChecked());
        EXPECT_FALSE(filter->cbbStatus->isEnabled());
        EXPECT_FALSE(filter->rgpTipo->isEnabled());
    });
    // The next silent run fetches with the held criteria and the situation box as it is.
    CriaFiltroRecContPagar(QStringLiteral("ESCONDE_FILTRO"));
    using namespace RecConPag;
    EXPECT_EQ(fetchedPayables(),
              payables(fetchDirect(QStringLiteral("01"), {{ArgAVencer, true}, {ArgContabil, "N"}})));
    EXPECT_EQ(messages.texts(), QStringList());
}

// The due range is read as the screen is created; a missing parameter row counts as 0 days.
TEST_F(FilterTest, DefaultDueRangeComesFromTheGeneralParameters) {
    ASSERT_NE(openWithCompany(QStringLiteral("01")), nullptr);
    const auto putBack = qScopeGuard([] {
        FilterData::execute(QStringLiteral("DELETE FROM GERALPAG"));
        FilterData::execute(QStringLiteral(
            "INSERT INTO GERALPAG (CDGERALPAG, QTDIAANTLANP, QTDIAAPOLANP) VALUES ('1', 30, 30)"));
    });
    FilterData::execute(QStringLiteral("UPDATE GERALPAG SET QTDIAANTLANP = 0, QTDIAAPOLANP = 5"));
    CriaFiltroRecContPagar(QStringLiteral("esconde_filtro"));
    EXPECT_EQ(frmFiltroRecCtPagar->Filtro.VencIni, today());
    EXPECT_EQ(frmFiltroRecCtPagar->Filtro.VencFin, today() + 5);
    delete frmFiltroRecCtPagar;

    FilterData::execute(QStringLiteral("DELETE FROM GERALPAG"));
    CriaFiltroRecContPagar(QStringLiteral("ESCONDE_FILTRO"));
    EXPECT_EQ(frmFiltroRecCtPagar->Filtro.VencIni, today());
    EXPECT_EQ(frmFiltroRecCtPagar->Filtro.VencFin, today());
    using namespace RecConPag;
    EXPECT_EQ(fetchedPayables(),
              payables(fetchDirect(QStringLiteral("01"), {{ArgVencIni, today()}, {ArgVencFin, today()}})));
}

TEST_F(FilterTest, DocumentNumbersAreSevenWideWhenTheBranchDoesNotSay) {
    ASSERT_NE(openWithCompany(QStringLiteral("01")), nullptr);
    for (const QString &branch : {QStringLiteral("0102"), QStringLiteral("0202")}) {
        Norvela::setFiliProc(branch); // 0102: no width; 0202: no parameters at all
        CriaFiltroRecContPagar(QStringLiteral("esconde_filtro"));
        EXPECT_EQ(frmFiltroRecCtPagar->medNrDocuIni->maxLength(), 7);
        EXPECT_EQ(frmFiltroRecCtPagar->medNrDocuFin->maxLength(), 7);
        frmFiltroRecCtPagar->medNrDocuIni->setText(QStringLiteral("20"));
        frmFiltroRecCtPagar->medNrDocuIniExit();
        EXPECT_EQ(frmFiltroRecCtPagar->medNrDocuFin->text(), QStringLiteral("0000020"));
        delete frmFiltroRecCtPagar;
    }
    Norvela::setFiliProc(QStringLiteral("0101"));
}

TEST_F(FilterTest, AFailedSilentRunStopsItsCallerAndRestoresTheCursor) {
    ASSERT_NE(openWithCompany(QStringLiteral("99")), nullptr);
    EXPECT_THROW(CriaFiltroRecContPagar(QStringLiteral("ESCONDE_FILTRO")), SilentAbort);
    EXPECT_EQ(messages.texts(), QStringList{"Empresa 99 não relacionada ao operador logado."});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(frmRecCtPagar->cdsCntPagar->active());
}

// Ctrl+D reaches the clearing while the focus is in the filter, and only then.
TEST_F(FilterTest, CtrlDClearsOnlyWhileTheFilterHasTheFocus) {
    TfrmRecCtPagar *screen = openWithCompany(QStringLiteral("01"));
    ASSERT_NE(screen, nullptr);
    CriaFiltroRecContPagar(QStringLiteral("esconde_filtro"));
    QSignalSpy clearings(frmFiltroRecCtPagar->mnuDesfazer, &QAction::triggered);
    QTest::keyClick(screen->medCdEmpresa, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(clearings.count(), 0);
    inDialog([](TfrmFiltroRecCtPagar *filter) {
        QTest::mouseClick(filter->depVencIni, Qt::LeftButton);
        QTest::keyClick(filter->depVencIni, Qt::Key_D, Qt::ControlModifier);
    });
    EXPECT_EQ(clearings.count(), 1);
    EXPECT_FALSE(frmFiltroRecCtPagar->pmnHotKey->isVisible());
}
