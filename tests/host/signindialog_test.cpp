#include "framework/session/dbgeral.h"
#include "framework/session/norvela.h"
#include "framework/ui/messages/scriptedmessages.h"
#include "host/signindialog.h"
#include "tests/support/serverfixture.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>
#include <gtest/gtest.h>

// The dialog signs in against the real server and the database that server prepared.
class SignInDialogTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        server = new ServerFixture;
        server->start();
    }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }

    void SetUp() override {
        dtmDBGeral()->open(server->databaseUrl());
        Norvela::setWebURL(server->host());
        Norvela::setWebPort(server->port());
    }
    void TearDown() override { dtmDBGeral()->close(); }

    // A dialog as the host shows it, with the operator given on the command line if any.
    std::unique_ptr<SignInDialog> show(const QString &operador = {}) {
        auto dialog = std::make_unique<SignInDialog>();
        dialog->setOperador(operador);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return dialog;
    }

    static void enter(SignInDialog &dialog, const QString &operador, const QString &senha) {
        auto *edtOperador = dialog.findChild<QLineEdit *>(QStringLiteral("edtOperador"));
        auto *edtSenha = dialog.findChild<QLineEdit *>(QStringLiteral("edtSenha"));
        edtOperador->clear();
        edtSenha->clear();
        QTest::keyClicks(edtOperador, operador);
        QTest::keyClicks(edtSenha, senha);
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("btnEntrar")), Qt::LeftButton);
    }

    static QString text(const SignInDialog &dialog, const char *label) {
        return dialog.findChild<QLabel *>(QString::fromLatin1(label))->text();
    }

    static inline ServerFixture *server = nullptr;
};

TEST_F(SignInDialogTest, NamesTheSystemAndWhereItSignsInWithTheFocusOnOperador) {
    auto dialog = show();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Entrar - Contas a Pagar"));
    EXPECT_EQ(text(*dialog, "lblSistema"), QStringLiteral("Contas a Pagar"));
    EXPECT_EQ(text(*dialog, "lblServidor"), QStringLiteral("Servidor: 127.0.0.1:%1").arg(server->port()));
    EXPECT_EQ(text(*dialog, "lblBanco"), QStringLiteral("Banco: ") + server->databaseUrl());
    EXPECT_EQ(QApplication::focusWidget(), dialog->findChild<QLineEdit *>(QStringLiteral("edtOperador")));

    auto given = show(QStringLiteral("caixa"));
    EXPECT_EQ(QApplication::focusWidget(), given->findChild<QLineEdit *>(QStringLiteral("edtSenha")))
        << "with the operator given, the password is what is left to type";
}

TEST_F(SignInDialogTest, RefusesAWrongPasswordAndAcceptsTheRightOne) {
    auto dialog = show();
    enter(*dialog, QStringLiteral("admin"), QStringLiteral("errada"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(text(*dialog, "lblMensagem"), QStringLiteral("Operador ou senha inválidos."));
    EXPECT_TRUE(dialog->senha().isEmpty()) << "a refused password is cleared";

    enter(*dialog, QStringLiteral("admin"), QStringLiteral("admin"));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->operador(), QStringLiteral("admin"));
}

TEST_F(SignInDialogTest, ThirdRefusalSaysWhyAndClosesTheDialog) {
    ScriptedMessages messages;
    auto dialog = show();
    enter(*dialog, QStringLiteral("ninguem"), QStringLiteral("x"));
    enter(*dialog, QStringLiteral("caixa"), QStringLiteral("admin"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(messages.texts().isEmpty());
    enter(*dialog, QStringLiteral("caixa"), QStringLiteral(""));
    EXPECT_EQ(messages.textsOf(DialogType::Error),
              QStringList{"Operador ou senha inválidos. O acesso foi recusado após três tentativas."});
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->triesLeft(), 0);
}

TEST_F(SignInDialogTest, AServerThatIsDownIsSaidAtSignInAndCostsNoTry) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    Norvela::setWebPort(closed.serverPort());
    closed.close();

    auto dialog = show();
    enter(*dialog, QStringLiteral("admin"), QStringLiteral("admin"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    const QString message = text(*dialog, "lblMensagem");
    EXPECT_TRUE(message.startsWith(
        QStringLiteral("Não foi possível conectar ao servidor de aplicação em 127.0.0.1:")))
        << qPrintable(message);
    EXPECT_TRUE(message.contains(QStringLiteral("não está no ar"))) << qPrintable(message);
    EXPECT_FALSE(message.contains(QStringLiteral("refused"), Qt::CaseInsensitive)) << qPrintable(message);
    EXPECT_EQ(dialog->triesLeft(), SignInDialog::maxTries);

    Norvela::setWebPort(server->port());
    enter(*dialog, QStringLiteral("admin"), QStringLiteral("admin"));
    EXPECT_EQ(dialog->result(), QDialog::Accepted) << "the server back, the same dialog signs in";
}

TEST_F(SignInDialogTest, OwnAndQtsStandardButtonsAreInPortuguese) {
    auto dialog = show();
    EXPECT_EQ(dialog->findChild<QPushButton *>(QStringLiteral("btnEntrar"))->text(),
              QStringLiteral("Entrar"));
    EXPECT_EQ(dialog->findChild<QPushButton *>(QStringLiteral("btnCancelar"))->text(),
              QStringLiteral("Cancelar"));
    EXPECT_EQ(dialog->findChild<QLineEdit *>(QStringLiteral("edtSenha"))->echoMode(), QLineEdit::Password);

    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                         QDialogButtonBox::No | QDialogButtonBox::Close | QDialogButtonBox::Help);
    QStringList texts;
    for (const QAbstractButton *button : box.buttons())
        texts << button->text().remove(QLatin1Char('&'));
    texts.sort();
    EXPECT_EQ(texts, QStringList({"Ajuda", "Cancelar", "Fechar", "Não", "OK", "Sim"}));
    EXPECT_EQ(QLocale().toString(1234.5, 'f', 2), QStringLiteral("1.234,50"));
}
