#include "support.h"

#include "framework/core/abort.h"
#include "framework/core/routines.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/focus/focusevents.h"
#include "framework/ui/messages/scriptedmessages.h"
#include "framework/ui/screens/tfrmpadrao.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// A screen that records which of its handlers ran, each after the base's version.
class RecordingScreen : public TfrmPadrao {
public:
    QStringList calls;
    CloseAction closeAction = CloseAction::Free;

    void FormCreate() override {
        TfrmPadrao::FormCreate();
        calls << "FormCreate";
        lblCodTela->setText(QStringLiteral("PAG00800"));
        setHelpContext(11900800);
        mnuFormulario->setText(QStringLiteral("&Ajustes"));
    }
    void FormActivate() override { calls << "FormActivate"; }
    void FormClose(CloseAction &action) override {
        TfrmPadrao::FormClose(action);
        calls << "FormClose";
        action = closeAction;
    }
    void sbtConfirmarClick() override {
        TfrmPadrao::sbtConfirmarClick();
        calls << "sbtConfirmarClick";
        throw std::runtime_error("Falha ao confirmar");
    }
    void pgcPadraoChange() override {
        TfrmPadrao::pgcPadraoChange();
        calls << "pgcPadraoChange";
    }
    void dbgPadraoKeyDown(int &key, Qt::KeyboardModifiers shift) override {
        TfrmPadrao::dbgPadraoKeyDown(key, shift);
        if (key == Qt::Key_Space)
            calls << "space";
    }
};

class BaseScreenFixture : public testing::Test {
protected:
    void SetUp() override {
        screen = TfrmPadrao::create<RecordingScreen>();
        declareRows(rows);
        screen->dtsPadrao->setDataSet(&rows);
    }
    void TearDown() override { delete screen.data(); }

    ScriptedMessages messages;
    ClientDataSet rows;
    QPointer<RecordingScreen> screen;
};

} // namespace

TEST_F(BaseScreenFixture, ComponentsCarryTheirNames) {
    for (const char *name :
         {"lblCodTela", "panMenu", "sbtConfirmar", "sbtProcurar", "sbtVerificar", "sbtImprimir", "sbtAjuda",
          "sbtFechar", "mnuMenu", "mnuOperacao", "mnuManutencao", "pgcPadrao", "tshFolhaDados",
          "tshFormulario", "dbgPadrao", "panNavigator", "dbnPadrao"})
        EXPECT_NE(screen->findChild<QObject *>(QString::fromLatin1(name)), nullptr) << name;
    for (const char *name : {"mnuFormulario", "mnuListagem", "mnuConfigImpressora", "mnuIncluir",
                             "mnuAlterar", "mnuExcluir", "mnuVerificar", "mnuCancelar", "mnuConfirmar"})
        EXPECT_NE(screen->findChild<QAction *>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(screen->sbtFechar->toolTip(), QStringLiteral("Fechar"));
    EXPECT_EQ(screen->calls, QStringList({"pgcPadraoChange", "FormCreate"}));
    EXPECT_EQ(screen->pgcPadrao->ActivePage(), screen->tshFolhaDados);
    EXPECT_TRUE(screen->mnuFolhaDados->isChecked());
}

TEST_F(BaseScreenFixture, MdiActivationClicksKeysHelpAndClose) {
    QMdiArea area;
    area.resize(800, 600);
    area.addSubWindow(screen);
    screen->calls.clear();
    ASSERT_TRUE(showActive(&area));
    screen->showForm();
    EXPECT_EQ(screen->calls, QStringList({"FormActivate"}));

    screen->calls.clear();
    QTest::mouseClick(screen->sbtConfirmar, Qt::LeftButton);
    EXPECT_EQ(screen->calls, QStringList({"sbtConfirmarClick"}));
    EXPECT_EQ(messages.textsOf(DialogType::Error), QStringList({"Falha ao confirmar"}));

    loadRows(rows, 3);
    EXPECT_TRUE(screen->sbtVerificar->isEnabled());
    screen->dbgPadrao->setFocus();
    QTest::keyClick(screen->dbgPadrao, Qt::Key_Space);
    EXPECT_EQ(screen->calls.last(), QStringLiteral("space"));

    QTest::keyClick(screen->dbgPadrao, Qt::Key_F1);
    EXPECT_EQ(messages.last(), QStringLiteral("Não há ajuda instalada para esta tela (contexto 11900800)."));

    screen->calls.clear();
    screen->mnuFormulario->trigger();
    EXPECT_EQ(screen->pgcPadrao->ActivePage(), screen->tshFormulario);
    EXPECT_TRUE(screen->mnuFormulario->isChecked());
    EXPECT_FALSE(screen->mnuFolhaDados->isChecked());
    EXPECT_EQ(screen->calls, QStringList({"pgcPadraoChange"}));

    screen->closeAction = CloseAction::Keep;
    QTest::mouseClick(screen->sbtFechar, Qt::LeftButton);
    ASSERT_TRUE(screen);
    EXPECT_TRUE(screen->isVisible());
    screen->closeAction = CloseAction::Free;
    QTest::mouseClick(screen->sbtFechar, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(screen);
    EXPECT_TRUE(area.subWindowList().isEmpty());
}

TEST_F(BaseScreenFixture, SwitchingBetweenChildWindowsReactivates) {
    QMdiArea area;
    area.resize(800, 600);
    area.addSubWindow(screen);
    auto *other = TfrmPadrao::create<RecordingScreen>();
    area.addSubWindow(other);
    ASSERT_TRUE(showActive(&area));
    screen->showForm();
    other->showForm();
    screen->calls.clear();
    screen->showForm();
    EXPECT_EQ(screen->calls, QStringList({"FormActivate"}));
    EXPECT_EQ(area.activeSubWindow(), screen->mdiSubWindow());

    screen->mdiSubWindow()->showMinimized();
    other->showForm();
    screen->showForm();
    EXPECT_FALSE(screen->mdiSubWindow()->isMinimized());
    EXPECT_EQ(area.activeSubWindow(), screen->mdiSubWindow());
}

TEST_F(BaseScreenFixture, ShortcutsAnswerInTheScreenThatHasTheFocus) {
    QMdiArea area;
    area.resize(800, 600);
    area.addSubWindow(screen);
    auto *other = TfrmPadrao::create<RecordingScreen>();
    other->setHelpContext(11911002);
    auto *filtro = other->mnuManutencao->addAction(QStringLiteral("&Filtro"));
    filtro->setShortcut(shortcutOf(16460));
    int filtroRuns = 0;
    QObject::connect(filtro, &QAction::triggered, [&] { ++filtroRuns; });
    area.addSubWindow(other);
    ASSERT_TRUE(showActive(&area));
    screen->showForm();
    other->showForm();
    other->dbgPadrao->setFocus();
    QTest::keyClick(other->dbgPadrao, Qt::Key_F1);
    QTest::keyClick(other->dbgPadrao, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(messages.texts(), QStringList({"Não há ajuda instalada para esta tela (contexto 11911002)."}));
    EXPECT_EQ(filtroRuns, 1);

    screen->showForm();
    screen->dbgPadrao->setFocus();
    QTest::keyClick(screen->dbgPadrao, Qt::Key_F1);
    QTest::keyClick(screen->dbgPadrao, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(messages.last(), QStringLiteral("Não há ajuda instalada para esta tela (contexto 11900800)."));
    EXPECT_EQ(filtroRuns, 1);
}

TEST_F(BaseScreenFixture, AbortInAPanelExitShowsItsMessageAndKeepsTheFocusOnTheCode) {
    auto *panFiltro = new QWidget;
    panFiltro->setObjectName(QStringLiteral("panFiltro"));
    auto *medCdEmpresa = new MaskedEdit(QStringLiteral("medCdEmpresa"), panFiltro);
    medCdEmpresa->setEditMask(QStringLiteral("99;0; "));
    (new QHBoxLayout(panFiltro))->addWidget(medCdEmpresa);
    screen->addTopPanel(panFiltro);
    QStringList events;
    onFocusEnter(panFiltro, [&] { events << "panFiltroEnter"; });
    onFocusExit(panFiltro, [&] {
        events << "panFiltroExit";
        if (EmptyString(medCdEmpresa->text())) {
            medCdEmpresa->setFocus();
            MensErro(QStringLiteral("Empresa deve ser informada."), true);
        }
    });
    ASSERT_TRUE(showActive(screen));
    medCdEmpresa->setFocus();
    events.clear();

    MessageBoxService boxes;
    MessageService::setCurrent(&boxes);
    QString shown;
    onNextModal([&](QWidget *box) {
        shown = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))->text();
        clickButton(box, QStringLiteral("OK"));
    });
    QTest::mouseClick(screen->dbgPadrao->viewport(), Qt::LeftButton);
    MessageService::setCurrent(&messages);
    EXPECT_EQ(screen->focusWidget(), medCdEmpresa);
    ASSERT_TRUE(showActive(screen));
    EXPECT_EQ(shown, QStringLiteral("Empresa deve ser informada."));
    EXPECT_EQ(events, QStringList({"panFiltroExit"}));
    EXPECT_EQ(QApplication::focusWidget(), medCdEmpresa);

    QTest::keyClicks(medCdEmpresa, QStringLiteral("1"));
    QTest::keyClick(medCdEmpresa, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), medCdEmpresa);
    EXPECT_EQ(events, QStringList({"panFiltroExit", "panFiltroExit"}));
    screen->dbgPadrao->setFocus();
    medCdEmpresa->setFocus();
    EXPECT_EQ(events.last(), QStringLiteral("panFiltroEnter"));
}

TEST_F(BaseScreenFixture, DisabledFormPageCannotBeChosen) {
    screen->tshFormulario->setEnabled(false);
    EXPECT_FALSE(screen->pgcPadrao->tabBar()->isTabEnabled(1));
    screen->mnuFormulario->trigger();
    EXPECT_EQ(screen->pgcPadrao->ActivePage(), screen->tshFolhaDados);
    EXPECT_FALSE(screen->sbtVerificar->isEnabled());
}
