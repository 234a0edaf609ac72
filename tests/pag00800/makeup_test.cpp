#include "screenfixture.h"

#include "framework/net/netconnection.h"
#include "framework/ui/controls/btnpesquisa.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/grid/dbtext.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

namespace {

QRgb pixel(QLabel *picture, int x, int y) {
    return picture->pixmap().toImage().pixel(x, y);
}

} // namespace

TEST_F(ScreenTest, ShowsTheRecalculationScreenWithItsToolBarAndCompanyPanel) {
    TfrmRecCtPagar *screen = openScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->windowTitle(), "Recálculo da Contabilização de Contas a Pagar");
    EXPECT_EQ(screen->lblCodTela->text(), "PAG00800");
    EXPECT_EQ(screen->HelpContext(), 11900800);
    EXPECT_FALSE(screen->sbtFiltro->isEnabled());
    EXPECT_EQ(screen->sbtFiltro->hint(), "Filtrar");
    EXPECT_TRUE(screen->sbtContab->isEnabled());
    EXPECT_EQ(screen->sbtContab->hint(), "Contabilizar");
    EXPECT_FALSE(screen->sbtImprimir->isEnabled());

    EXPECT_EQ(screen->medCdEmpresa->editMask(), "99;0; ");
    EXPECT_EQ(screen->medCdEmpresa->maxLength(), 2);
    EXPECT_EQ(screen->btpEmpresa->Associate(), screen->medCdEmpresa);
    EXPECT_EQ(screen->btpEmpresa->dataSourceOf(), screen->dtsEmpresa);
    EXPECT_EQ(screen->btpEmpresa->EmptyError(), "Não há empresa cadastrada.");
    EXPECT_FALSE(screen->edtNmEmpresa->isEnabled());
    EXPECT_EQ(screen->Label1->text(), "Empresa");

    EXPECT_EQ(screen->pgcPadrao->tabText(screen->pgcPadrao->indexOf(screen->tshFormulario)), "Ajustes");
    EXPECT_FALSE(screen->tshFormulario->isEnabled());
    EXPECT_EQ(screen->pgcPadrao->ActivePage(), screen->tshFolhaDados);
    EXPECT_EQ(screen->dbtNome->parentWidget(), screen->panNavigator);
}

TEST_F(ScreenTest, MenuItemsHaveTheirCaptionsShortcutAndStates) {
    TfrmRecCtPagar *screen = openScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->mnuFormulario->text(), "&Ajustes");
    EXPECT_TRUE(screen->mnuFormulario->isEnabled());
    for (QAction *item : {screen->mnuListagem, screen->mnuConfigImpressora, screen->mnuIncluir,
                          screen->mnuAlterar, screen->mnuExcluir, screen->mnuVerificar, screen->mnuCancelar})
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    const QList<QAction *> items = screen->mnuManutencao->actions();
    ASSERT_GE(items.size(), 2);
    EXPECT_EQ(items.at(items.size() - 2), screen->N1);
    EXPECT_TRUE(screen->N1->isSeparator());
    EXPECT_EQ(items.last(), screen->mnuFiltro);
    EXPECT_EQ(screen->mnuFiltro->text(), "&Filtro");
    EXPECT_EQ(screen->mnuFiltro->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    EXPECT_EQ(screen->findChild<QObject *>("netRecContaPagar"), screen->netRecContaPagar);
    EXPECT_EQ(screen->netRecContaPagar->ServerName(), "PAG00800.rdmRecConPag");
}

TEST_F(ScreenTest, MessageTableHoldsEveryLine) {
    TfrmRecCtPagar *screen = openScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->msgPadrao.lines().size(), 22);
    EXPECT_EQ(screen->msgPadrao.Msg("fora_per_ctb"), "Lançamento fora do período contábil.");
    EXPECT_EQ(screen->msgPadrao.Msg("BOL_CNAB"),
              "Conta de um boleto enviado ao banco (via CNAB) não pode ser alterada");
    EXPECT_EQ(screen->msgPadrao.Msg("RecCont_suc"),
              "O Recálculo da Contabilização de Contas a Pagar foi realizado com sucesso.");
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
