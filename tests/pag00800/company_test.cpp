#include "screenfixture.h"

#include "framework/session/adoibquery.h"
#include "framework/session/norvela.h"
#include "framework/ui/controls/btnpesquisa.h"
#include "framework/ui/controls/maskedit.h"
#include "pag00801/tfrmfiltrorecctpagar.h"
#include "tests/framework/ui/support.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

namespace {

const QString empDeve = QStringLiteral("Empresa deve ser informada.");
const QString empNc = QStringLiteral("Empresa não cadastrada.");
const QString empNRelac = QStringLiteral("Empresa não relacionada ao operador logado.");

// The company panel of an open screen, driven with the keyboard and the mouse.
class CompanyTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        screen = openScreen();
        ASSERT_NE(screen, nullptr);
    }

    void TearDown() override {
        signIn(QStringLiteral("admin"));
        ScreenTest::TearDown();
    }

    static void signIn(const QString &operador) { Norvela::setOperador(operador, operador); }

    void type(const QString &code) {
        QTest::keyClick(screen->medCdEmpresa, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(screen->medCdEmpresa, Qt::Key_Delete);
        QTest::keyClicks(screen->medCdEmpresa, code);
    }

    void tabOut() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

    // Picks the company of `code` in the search list that a click on btpEmpresa opens.
    void pick(const QString &code) {
        onNextModal([code](QWidget *dialog) {
            auto *grid = dialog->findChild<DataGrid *>(QStringLiteral("dbgPickRow"));
            ClientDataSet *rows = grid->dataSource()->dataSet();
            rows->first();
            while (!rows->eof() && rows->fieldByName("CDEMPRESA")->asString() != code)
                rows->next();
            clickButton(dialog, QStringLiteral("OK"));
        });
        QTest::mouseClick(screen->btpEmpresa, Qt::LeftButton);
        comeBackToTheHost();
    }

    // The offscreen platform activates no window when a dialog closes; a desktop gives the
    // focus back to the host.
    void comeBackToTheHost() {
        host->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    }

    bool inCompanyEntry() const {
        return !screen->sbtFiltro->isEnabled() && !screen->mnuFiltro->isEnabled() &&
               !screen->sbtContab->isEnabled() && !screen->cdsCntPagar->active() &&
               !screen->tshFormulario->isEnabled() &&
               screen->pgcPadrao->ActivePage() == screen->tshFolhaDados;
    }

    bool browsing() const {
        return screen->sbtFiltro->isEnabled() && screen->mnuFiltro->isEnabled() &&
               screen->sbtContab->isEnabled() && screen->cdsCntPagar->active();
    }

    TfrmRecCtPagar *screen = nullptr;
};

} // namespace

TEST_F(CompanyTest, ATypedDigitAndTabLoadTheCompanysPayables) {
    EXPECT_TRUE(inCompanyEntry());
    EXPECT_EQ(QApplication::focusWidget(), screen->medCdEmpresa);

    type(QStringLiteral("1"));
    tabOut();
    EXPECT_EQ(messages.texts(), QStringList());
    EXPECT_EQ(screen->medCdEmpresa->text(), QStringLiteral("01"));
    EXPECT_EQ(screen->edtNmEmpresa->text(), QStringLiteral("Comercial Ipê Ltda"));
    EXPECT_EQ(screen->cdsPerContabil->recordCount(), 1);
    EXPECT_TRUE(browsing());
    EXPECT_GT(screen->cdsCntPagar->recordCount(), 0);
    EXPECT_TRUE(screen->tshFormulario->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), screen->dbgPadrao);

    // Every keystroke in the code clears the name until the code is checked again.
    screen->medCdEmpresa->setFocus();
    EXPECT_TRUE(inCompanyEntry());
    QTest::keyClick(screen->medCdEmpresa, Qt::Key_End);
    QTest::keyClick(screen->medCdEmpresa, Qt::Key_Backspace);
    EXPECT_TRUE(screen->edtNmEmpresa->text().isEmpty());
}

TEST_F(CompanyTest, EachRefusalIsShownOnceAndLeavesTheCursorInTheCode) {
    tabOut();
    EXPECT_EQ(messages.texts(), QStringList({empDeve}));
    EXPECT_EQ(QApplication::focusWidget(), screen->medCdEmpresa);
    EXPECT_TRUE(inCompanyEntry());

    type(QStringLiteral("3"));
    tabOut(); // a known company first, so that the period of the next refusal can be seen kept
    screen->medCdEmpresa->setFocus();
    const QVariant periodStart = screen->cdsPerContabil->fieldByName("DTINICCTBL")->value();
    messages.clear();
    type(QStringLiteral("9"));
    tabOut();
    EXPECT_EQ(messages.texts(), QStringList({empNc}));
    EXPECT_EQ(QApplication::focusWidget(), screen->medCdEmpresa);
    EXPECT_EQ(screen->medCdEmpresa->text(), QStringLiteral("09"));
    EXPECT_EQ(screen->cdsPerContabil->fieldByName("DTINICCTBL")->value(), periodStart);
    EXPECT_TRUE(inCompanyEntry());

    signIn(QStringLiteral("caixa"));
    messages.clear();
    type(QStringLiteral("2"));
    tabOut();
    EXPECT_EQ(messages.texts(), QStringList({empNRelac}));
    EXPECT_EQ(QApplication::focusWidget(), screen->medCdEmpresa);
    EXPECT_TRUE(screen->edtNmEmpresa->text().isEmpty());
    EXPECT_TRUE(inCompanyEntry());
}

TEST_F(CompanyTest, LeavingOnlyTheCodeForTheSearchSaysNothing) {
    onNextModal([](QWidget *dialog) { clickButton(dialog, QStringLiteral("Cancelar")); });
    QTest::mouseClick(screen->btpEmpresa, Qt::LeftButton);
    comeBackToTheHost();
    EXPECT_EQ(messages.texts(), QStringList());
    EXPECT_TRUE(inCompanyEntry());
    EXPECT_TRUE(screen->medCdEmpresa->text().isEmpty());
}

TEST_F(CompanyTest, APickLoadsThePeriodAndLeavingThePanelChecksTheRight) {
    signIn(QStringLiteral("caixa"));
    pick(QStringLiteral("02"));
    EXPECT_EQ(messages.texts(), QStringList());
    EXPECT_EQ(screen->medCdEmpresa->text(), QStringLiteral("02"));
    EXPECT_EQ(screen->edtNmEmpresa->text(), QStringLiteral("Indústria Jacarandá S.A."));
    EXPECT_EQ(screen->cdsPerContabil->recordCount(), 1);
    EXPECT_EQ(screen->qryEmpresa->recordCount(), 3); // the search listed every company
    EXPECT_EQ(QApplication::focusWidget(), screen->medCdEmpresa);

    tabOut();
    EXPECT_EQ(messages.texts(), QStringList({empNRelac}));
    EXPECT_EQ(QApplication::focusWidget(), screen->medCdEmpresa);
    EXPECT_TRUE(inCompanyEntry());

    type(QString());
    messages.clear();
    pick(QStringLiteral("01"));
    tabOut();
    EXPECT_EQ(messages.texts(), QStringList());
    EXPECT_TRUE(browsing());
}

TEST_F(CompanyTest, ReturningToThePanelDropsTheListAndLeavingAgainFetchesIt) {
    type(QStringLiteral("01"));
    tabOut();
    ASSERT_TRUE(browsing());
    const int rows = screen->cdsCntPagar->recordCount();
    screen->cdsCntPagar->edit();
    screen->cdsCntPagar->fieldByName("IDMARCADO")->setAsString(QStringLiteral("S"));
    screen->cdsCntPagar->post();
    ASSERT_EQ(screen->markedSet()->Count(), 1);
    screen->mnuFormulario->trigger();
    ASSERT_EQ(screen->pgcPadrao->ActivePage(), screen->tshFormulario);

    QTest::mouseClick(screen->medCdEmpresa, Qt::LeftButton);
    EXPECT_TRUE(inCompanyEntry());
    EXPECT_EQ(screen->markedSet()->Count(), 0);
    EXPECT_FALSE(screen->sbtConfirmar->isEnabled());

    // The same company, left again: the list comes back from the server, unmarked.
    tabOut();
    EXPECT_TRUE(browsing());
    EXPECT_EQ(screen->cdsCntPagar->recordCount(), rows);
    EXPECT_EQ(screen->markedSet()->Count(), 0);
    EXPECT_EQ(messages.texts(), QStringList());

    // A click on the grid leaves the panel as well.
    QTest::mouseClick(screen->medCdEmpresa, Qt::LeftButton);
    QTest::mouseClick(screen->dbgPadrao->viewport(), Qt::LeftButton);
    EXPECT_TRUE(browsing());
}

TEST_F(CompanyTest, SwitchingToAnotherScreenAndBackIsNoExitOfThePanel) {
    auto *otherScreen = new QLineEdit;
    QMdiSubWindow *other = host->mdiArea()->addSubWindow(otherScreen);
    other->show();
    host->mdiArea()->setActiveSubWindow(screen->mdiSubWindow());
    screen->medCdEmpresa->setFocus();
    type(QStringLiteral("1"));

    QTest::mouseClick(otherScreen, Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), otherScreen);
    host->mdiArea()->setActiveSubWindow(screen->mdiSubWindow());
    EXPECT_EQ(QApplication::focusWidget(), screen->medCdEmpresa);
    EXPECT_EQ(screen->medCdEmpresa->text(), QStringLiteral("1"));
    EXPECT_EQ(screen->cdsPerContabil->recordCount(), 0);
    EXPECT_TRUE(inCompanyEntry());

    // Nor with an empty code: no message.
    type(QString());
    host->mdiArea()->setActiveSubWindow(other);
    host->mdiArea()->setActiveSubWindow(screen->mdiSubWindow());
    EXPECT_EQ(messages.texts(), QStringList());

    // In browsing, coming back keeps the list and the marks.
    type(QStringLiteral("1"));
    tabOut();
    ASSERT_TRUE(browsing());
    screen->cdsCntPagar->edit();
    screen->cdsCntPagar->fieldByName("IDMARCADO")->setAsString(QStringLiteral("S"));
    screen->cdsCntPagar->post();
    host->mdiArea()->setActiveSubWindow(other);
    host->mdiArea()->setActiveSubWindow(screen->mdiSubWindow());
    EXPECT_TRUE(browsing());
    EXPECT_EQ(screen->markedSet()->Count(), 1);
}

TEST_F(CompanyTest, AFailedSilentFetchLeavesTheFilterAndAccountingCommandsOff) {
    type(QStringLiteral("1"));
    tabOut();
    ASSERT_TRUE(browsing());
    ASSERT_FALSE(frmFiltroRecCtPagar.isNull());
    frmFiltroRecCtPagar->Filtro.VencFin = 0; // a due range without its end fails the silent run

    QTest::mouseClick(screen->medCdEmpresa, Qt::LeftButton);
    tabOut();
    EXPECT_EQ(messages.texts().size(), 1);
    EXPECT_EQ(QApplication::focusWidget(), screen->medCdEmpresa);
    EXPECT_FALSE(screen->sbtFiltro->isEnabled());
    EXPECT_FALSE(screen->mnuFiltro->isEnabled());
    EXPECT_FALSE(screen->sbtContab->isEnabled());
}

TEST_F(CompanyTest, CtrlLOpensTheFilterOnlyWhileBrowsing) {
    int shown = 0;
    const auto closeFilter = [&shown](QWidget *dialog) {
        shown += dialog == frmFiltroRecCtPagar.data();
        dialog->close();
    };
    QTest::keyClick(screen->medCdEmpresa, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(shown, 0);

    type(QStringLiteral("1"));
    tabOut();
    ASSERT_TRUE(browsing());
    const int rows = screen->cdsCntPagar->recordCount();
    onNextModal(closeFilter);
    QTest::keyClick(screen->dbgPadrao, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(shown, 1);
    onNextModal(closeFilter);
    QTest::mouseClick(screen->sbtFiltro, Qt::LeftButton);
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(screen->cdsCntPagar->recordCount(), rows);
    EXPECT_TRUE(browsing());
}
