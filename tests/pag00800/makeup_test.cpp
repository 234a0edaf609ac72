#include "screenfixture.h"

#include "framework/net/netconnection.h"

#include <QImage>
#include <QLabel>

namespace {

QRgb pixel(QLabel *picture, int x, int y) {
    return picture->pixmap().toImage().pixel(x, y);
}

} // namespace

// Handlers, tests and tools reach the components by their names.
TEST_F(ScreenTest, EveryComponentIsFoundByItsName) {
    TfrmRecCtPagar *screen = openScreen();
    ASSERT_NE(screen, nullptr);
    for (const char *name :
         {"sbtFiltro",        "sbtContab",        "ImgCheck",      "imgUnCheck",  "panFiltro",  "Label1",
          "medCdEmpresa",     "btpEmpresa",       "edtNmEmpresa",  "dbgAjusPag",  "dbtNome",    "N1",
          "mnuFiltro",        "netRecContaPagar", "qryEmpresa",    "dtsEmpresa",  "dtsAjusPag", "cdsCntPagar",
          "cdsAjusPag",       "cdsPerContabil",   "cdsExistConta", "cdsExistDoc", "cdsTipoCnt", "cdsVrBoleto",
          "cdsCntProrrogada", "cdsLancContTemp",  "cdsRateio",     "cdsErrosTemp"})
        EXPECT_NE(screen->findChild<QObject *>(QLatin1String(name)), nullptr) << name;
    EXPECT_EQ(screen->netRecContaPagar->ServerName(), "PAG00800.rdmRecConPag");
}

TEST_F(ScreenTest, StartsWithTheFilterPrintAndAdjustmentsOffAndEveryMessageLine) {
    TfrmRecCtPagar *screen = openScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_FALSE(screen->sbtFiltro->isEnabled());
    EXPECT_FALSE(screen->sbtContab->isEnabled()); // the first activation puts it in company entry
    EXPECT_FALSE(screen->sbtImprimir->isEnabled());
    EXPECT_FALSE(screen->tshFormulario->isEnabled());
    EXPECT_EQ(screen->pgcPadrao->ActivePage(), screen->tshFolhaDados);
    for (QAction *item : {screen->mnuListagem, screen->mnuConfigImpressora, screen->mnuIncluir,
                          screen->mnuAlterar, screen->mnuExcluir, screen->mnuVerificar, screen->mnuCancelar})
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    EXPECT_EQ(screen->mnuFiltro->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    EXPECT_EQ(screen->msgPadrao.lines().size(), 22);
    EXPECT_FALSE(screen->msgPadrao.contains("Filial"));
}

TEST_F(ScreenTest, CheckPicturesAreBoxesOnOlive) {
    TfrmRecCtPagar *screen = openScreen();
    ASSERT_NE(screen, nullptr);
    for (QLabel *picture : {screen->ImgCheck, screen->imgUnCheck}) {
        EXPECT_FALSE(picture->isVisible());
        EXPECT_EQ(picture->pixmap().size(), QSize(16, 16));
        EXPECT_EQ(pixel(picture, 0, 0), qRgb(128, 128, 0));
        EXPECT_EQ(pixel(picture, 3, 3), qRgb(0, 0, 0));        // top left edge
        EXPECT_EQ(pixel(picture, 12, 7), qRgb(192, 192, 192)); // shadow on the right
        EXPECT_EQ(pixel(picture, 7, 12), qRgb(192, 192, 192)); // shadow below
        EXPECT_EQ(pixel(picture, 4, 4), qRgb(255, 255, 255));
    }
    // The tick is black inside the ticked box only.
    EXPECT_EQ(pixel(screen->ImgCheck, 7, 9), qRgb(0, 0, 0));
    EXPECT_EQ(pixel(screen->imgUnCheck, 7, 9), qRgb(255, 255, 255));
}
