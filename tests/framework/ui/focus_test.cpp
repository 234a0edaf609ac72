#include "support.h"

#include "framework/core/abort.h"
#include "framework/ui/focus/focusevents.h"
#include "framework/ui/messages/scriptedmessages.h"

#include <QApplication>
#include <QLineEdit>
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
