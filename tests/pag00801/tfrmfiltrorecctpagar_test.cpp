#include "filterfixture.h"

#include "framework/core/tdatetime.h"
#include "framework/net/netconnection.h"
#include "framework/ui/controls/dateeditplus.h"
#include "framework/ui/controls/maskedit.h"
#include "server_contract/recconpag.h"

#include <QApplication>
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
