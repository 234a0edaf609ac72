#include "support.h"

#include "framework/core/abort.h"
#include "framework/core/datasource.h"
#include "framework/ui/controls/btnpesquisa.h"
#include "framework/ui/focus/focusevents.h"
#include "framework/ui/messages/scriptedmessages.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A window with a panel holding edtCodigo and edtNome, and edtFora outside the panel.
class FocusFixture : public testing::Test {
protected:
    void SetUp() override {
        auto *layout = new QVBoxLayout(&window);
        panel = new QWidget(&window);
        auto *panelLayout = new QVBoxLayout(panel);
        codigo = new QLineEdit(panel);
        nome = new QLineEdit(panel);
        panelLayout->addWidget(codigo);
        panelLayout->addWidget(nome);
        fora = new QLineEdit(&window);
        layout->addWidget(panel);
        layout->addWidget(fora);
        onFocusExit(codigo, [this] { events << "codigoExit"; });
        onFocusEnter(panel, [this] { events << "panelEnter"; });
        onFocusExit(panel, [this] { events << "panelExit"; });
        ASSERT_TRUE(showActive(&window));
        codigo->setFocus();
        events.clear();
    }

    ScriptedMessages messages;
    QWidget window;
    QWidget *panel;
    QLineEdit *codigo;
    QLineEdit *nome;
    QLineEdit *fora;
    QStringList events;
};

} // namespace

TEST_F(FocusFixture, TabbingRunsExitsInnermostFirstAndEntersOutermostFirst) {
    QTest::keyClick(codigo, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), nome);
    EXPECT_EQ(events, QStringList({"codigoExit"}));
    QTest::keyClick(nome, Qt::Key_Tab);
    EXPECT_EQ(events, QStringList({"codigoExit", "panelExit"}));
    QTest::keyClick(fora, Qt::Key_Backtab);
    EXPECT_EQ(events, QStringList({"codigoExit", "panelExit", "panelEnter"}));
}

TEST_F(FocusFixture, AbortInAnExitHandlerKeepsTheFocusWhereTheHandlerPutIt) {
    onFocusExit(panel, [this] {
        events << "panelExit";
        codigo->setFocus();
        MensErro(QStringLiteral("Empresa deve ser informada."), true);
    });
    fora->setFocus();
    EXPECT_EQ(QApplication::focusWidget(), codigo);
    EXPECT_EQ(events, QStringList({"codigoExit", "panelExit"}));
    EXPECT_EQ(messages.textsOf(DialogType::Error), QStringList({"Empresa deve ser informada."}));

    // The application goes on: the next real move runs the handlers again.
    QTest::keyClick(codigo, Qt::Key_Tab);
    EXPECT_EQ(events.last(), QStringLiteral("codigoExit"));
}

TEST_F(FocusFixture, AbortWithoutMovingTheFocusCancelsTheMove) {
    onFocusExit(codigo, [] { throw SilentAbort(); });
    QTest::keyClick(codigo, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), codigo);
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(FocusFixture, EnterHandlerMovingTheFocusIsFollowedOnce) {
    onFocusEnter(panel, [this] {
        events << "panelEnter";
        codigo->setFocus();
    });
    fora->setFocus();
    events.clear();
    nome->setFocus();
    EXPECT_EQ(QApplication::focusWidget(), codigo);
    EXPECT_EQ(events, QStringList({"panelEnter"}));
}

TEST_F(FocusFixture, ReturningToTheWindowOnAnotherWidgetIsAMove) {
    QWidget other;
    ASSERT_TRUE(showActive(&other));
    fora->setFocus();
    EXPECT_TRUE(events.isEmpty());
    ASSERT_TRUE(showActive(&window));
    EXPECT_EQ(QApplication::focusWidget(), fora);
    EXPECT_EQ(events, QStringList({"codigoExit", "panelExit"}));
}

TEST_F(FocusFixture, MessageBoxAndOtherWindowsAreNoExit) {
    MessageBoxService boxes;
    onNextModal([](QWidget *dialog) { clickButton(dialog, QStringLiteral("OK")); });
    boxes.info(QStringLiteral("Atenção"));
    EXPECT_TRUE(events.isEmpty());

    QWidget other;
    auto *edit = new QLineEdit(&other);
    new QVBoxLayout(&other);
    other.layout()->addWidget(edit);
    ASSERT_TRUE(showActive(&other));
    edit->setFocus();
    other.hide();
    ASSERT_TRUE(showActive(&window));
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), codigo);
}

namespace {

// Two screens as child windows of one MDI area, as in the host: each with a panel holding
// edtCodigo and a search button, edtFora outside the panel and a flat tool button.
struct ChildScreen {
    QWidget *screen;
    QWidget *panel;
    QLineEdit *codigo;
    TBtnPesquisa *pesquisa;
    QLineEdit *fora;
    TButtonFlat *ferramenta;
    QMdiSubWindow *subWindow;
};

class ChildWindowFocus : public testing::Test {
protected:
    void SetUp() override {
        area.resize(800, 600);
        first = addScreen(QStringLiteral("first"));
        second = addScreen(QStringLiteral("second"));
        ASSERT_TRUE(showActive(&area));
        area.setActiveSubWindow(first.subWindow);
        first.codigo->setFocus();
        events.clear();
    }

    ChildScreen addScreen(const QString &name) {
        ChildScreen child;
        child.screen = new QWidget;
        auto *layout = new QVBoxLayout(child.screen);
        child.ferramenta =
            new TButtonFlat(QStringLiteral("sbtFerramenta"), QStringLiteral("Ferramenta"), child.screen);
        child.panel = new QWidget(child.screen);
        auto *panelLayout = new QHBoxLayout(child.panel);
        child.codigo = new QLineEdit(child.panel);
        child.pesquisa = new TBtnPesquisa(child.panel);
        child.pesquisa->OnClick = [] {};
        panelLayout->addWidget(child.codigo);
        panelLayout->addWidget(child.pesquisa);
        child.fora = new QLineEdit(child.screen);
        layout->addWidget(child.ferramenta);
        layout->addWidget(child.panel);
        layout->addWidget(child.fora);
        onFocusEnter(child.panel, [this, name] { events << name + QStringLiteral("Enter"); });
        onFocusExit(child.panel, [this, name] { events << name + QStringLiteral("Exit"); });
        onFocusExit(child.codigo, [this, name] { events << name + QStringLiteral("CodigoExit"); });
        child.subWindow = area.addSubWindow(child.screen);
        child.subWindow->show();
        return child;
    }

    ScriptedMessages messages;
    QMdiArea area;
    ChildScreen first;
    ChildScreen second;
    QStringList events;
};

} // namespace

TEST_F(ChildWindowFocus, SwitchingChildWindowsAndBackIsNoExitNorEnter) {
    area.setActiveSubWindow(second.subWindow);
    area.setActiveSubWindow(first.subWindow);
    EXPECT_EQ(QApplication::focusWidget(), first.codigo);

    QTest::mouseClick(second.fora, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), second.fora);
    QTest::mouseClick(first.subWindow, Qt::LeftButton, {}, QPoint(first.subWindow->width() / 2, 8));
    EXPECT_EQ(area.activeSubWindow(), first.subWindow);
    EXPECT_EQ(QApplication::focusWidget(), first.codigo);
    EXPECT_TRUE(events.isEmpty()) << events.join(u' ').toStdString();
}

TEST_F(ChildWindowFocus, ClicksInsideOneChildWindowFollowTheUser) {
    // A tool button takes no focus: the cursor stays in the code.
    QTest::mouseClick(first.ferramenta, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), first.codigo);
    EXPECT_TRUE(events.isEmpty());

    // The search button takes it and keeps it inside the panel.
    QTest::mouseClick(first.pesquisa, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), first.pesquisa);
    EXPECT_EQ(events, QStringList({"firstCodigoExit"}));

    QTest::mouseClick(first.fora, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), first.fora);
    EXPECT_EQ(events, QStringList({"firstCodigoExit", "firstExit"}));
}

TEST_F(ChildWindowFocus, ComingBackToAChildWindowOnAnotherWidgetIsAMove) {
    QTest::mouseClick(second.fora, Qt::LeftButton);
    QTest::mouseClick(first.fora, Qt::LeftButton);
    EXPECT_EQ(area.activeSubWindow(), first.subWindow);
    EXPECT_EQ(QApplication::focusWidget(), first.fora);
    EXPECT_EQ(events, QStringList({"firstCodigoExit", "firstExit"}));
}
