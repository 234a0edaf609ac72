#include "framework/ui/messages/scriptedmessages.h"
#include "host/signindialog.h"
#include "tests/framework/session/testdatabase.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

class SignInDialogTest : public testing::Test {
protected:
    void SetUp() override { dialog.show(); }

    void enter(const QString &operador, const QString &senha) {
        auto *edtOperador = dialog.findChild<QLineEdit *>(QStringLiteral("edtOperador"));
        auto *edtSenha = dialog.findChild<QLineEdit *>(QStringLiteral("edtSenha"));
        edtOperador->clear();
        QTest::keyClicks(edtOperador, operador);
        QTest::keyClicks(edtSenha, senha);
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("btnEntrar")), Qt::LeftButton);
    }

    QString message() const { return dialog.findChild<QLabel *>(QStringLiteral("lblMensagem"))->text(); }

    TestDatabase database;
    SignInDialog dialog;
};

TEST_F(SignInDialogTest, RefusesAWrongPasswordAndAcceptsTheRightOne) {
    enter(QStringLiteral("admin"), QStringLiteral("errada"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(message(), QStringLiteral("Operador ou senha inválidos."));
    EXPECT_TRUE(dialog.senha().isEmpty()) << "a refused password is cleared";

    enter(QStringLiteral("admin"), QStringLiteral("admin"));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.operador(), QStringLiteral("admin"));
}

TEST_F(SignInDialogTest, ThirdRefusalSaysWhyAndClosesTheDialog) {
    ScriptedMessages messages;
    enter(QStringLiteral("ninguem"), QStringLiteral("x"));
    enter(QStringLiteral("caixa"), QStringLiteral("admin"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(messages.texts().isEmpty());
    enter(QStringLiteral("caixa"), QStringLiteral(""));
    EXPECT_EQ(messages.textsOf(DialogType::Error),
              QStringList{"Operador ou senha inválidos. O acesso foi recusado após três tentativas."});
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.triesLeft(), 0);
}

TEST_F(SignInDialogTest, LabelsAndButtonsAreInPortuguese) {
    EXPECT_EQ(dialog.findChild<QPushButton *>(QStringLiteral("btnEntrar"))->text(), QStringLiteral("Entrar"));
    EXPECT_EQ(dialog.findChild<QPushButton *>(QStringLiteral("btnCancelar"))->text(),
              QStringLiteral("Cancelar"));
    QStringList labels;
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        labels << label->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("Operador")));
    EXPECT_TRUE(labels.contains(QStringLiteral("Senha")));
    EXPECT_EQ(dialog.findChild<QLineEdit *>(QStringLiteral("edtSenha"))->echoMode(), QLineEdit::Password);
}
