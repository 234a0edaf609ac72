#include "support.h"

#include "framework/core/abort.h"
#include "framework/ui/messages/guard.h"
#include "framework/ui/messages/scriptedmessages.h"
#include "framework/ui/messages/showmsg.h"

#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>
#include <stdexcept>

TEST(Guard, SilentAbortEndsHandlerQuietlyOtherFailuresAreShown) {
    ScriptedMessages messages;
    bool after = false;
    guard([&] {
        throw SilentAbort();
        after = true;
    });
    EXPECT_FALSE(after);
    EXPECT_TRUE(messages.shown().isEmpty());

    guard([] { throw std::runtime_error("Falha de conexão"); });
    guard([] { throw 42; });
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.textsOf(DialogType::Error), QStringList({"Falha de conexão", "Erro inesperado."}));
    EXPECT_TRUE(guardCompleted([] {}));
    EXPECT_FALSE(guardCompleted([] { throw SilentAbort(); }));
}

TEST(Guard, GuardedSlotKeepsExceptionsOutOfTheEventLoop) {
    ScriptedMessages messages;
    QPushButton button;
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, &button, guarded([&] {
        ++clicks;
        MensErro(QStringLiteral("Empresa deve ser informada."), true);
    }));
    button.click();
    button.click();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(messages.textsOf(DialogType::Error),
              QStringList({"Empresa deve ser informada.", "Empresa deve ser informada."}));
}

TEST(Messages, MensErroShowsThroughTheCurrentServiceAndStopsOnlyWhenAsked) {
    ScriptedMessages messages;
    EXPECT_NO_THROW(MensErro(QStringLiteral("aviso"), false));
    EXPECT_THROW(MensErro(QStringLiteral("parada"), true), SilentAbort);
    EXPECT_EQ(messages.textsOf(DialogType::Error), QStringList({"aviso", "parada"}));
}

TEST(Messages, ShowMsgAnswersWithTheButtonCodesCallersCompare) {
    ScriptedMessages messages;
    TMessages table({QStringLiteral("MARCA_CONTA|Deseja marcar todas as contas?")});
    messages.answer(ResultYes);
    messages.answer(ResultNo);
    EXPECT_EQ(ShowMsg(table, QStringLiteral("marca_conta"), DialogType::Confirmation,
                      DialogButton::Yes | DialogButton::No),
              6);
    EXPECT_EQ(ShowMsg(table, QStringLiteral("MARCA_CONTA"), DialogType::Confirmation,
                      DialogButton::Yes | DialogButton::No),
              7);
    EXPECT_EQ(ShowMsg(table, QStringLiteral("MARCA_CONTA"), DialogType::Information, DialogButton::Ok), 1);
    EXPECT_EQ(messages.texts().first(), QStringLiteral("Deseja marcar todas as contas?"));
}

TEST(Messages, UnscriptedQuestionFailsLoudly) {
    ScriptedMessages messages;
    EXPECT_THROW(messages.question(QStringLiteral("Confirma?")), ScriptedMessages::UnscriptedQuestion);
    EXPECT_EQ(messages.unanswered(), QStringList({"Confirma?"}));
}

TEST(Messages, ScriptedServiceRestoresThePreviousOne) {
    MessageService *before = &MessageService::current();
    {
        ScriptedMessages outer;
        {
            ScriptedMessages inner;
            EXPECT_EQ(&MessageService::current(), &inner);
        }
        EXPECT_EQ(&MessageService::current(), &outer);
    }
    EXPECT_EQ(&MessageService::current(), before);
}

TEST(Messages, MessageBoxHasPortugueseButtonsAndReturnsTheCodePressed) {
    MessageBoxService boxes;
    QStringList buttonTexts;
    QString caption;
    onNextModal([&](QWidget *dialog) {
        caption = dialog->windowTitle();
        for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
            buttonTexts.append(button->text());
        clickButton(dialog, QStringLiteral("Não"));
    });
    EXPECT_EQ(boxes.question(QStringLiteral("Deseja continuar?")), ResultNo);
    buttonTexts.sort();
    EXPECT_EQ(buttonTexts, QStringList({"Não", "Sim"}));
    EXPECT_EQ(caption, QStringLiteral("Testes"));

    onNextModal([](QWidget *dialog) { clickButton(dialog, QStringLiteral("Cancelar")); });
    EXPECT_EQ(boxes.show(DialogType::Warning, QStringLiteral("x"), DialogButton::Ok | DialogButton::Cancel),
              ResultCancel);
}
