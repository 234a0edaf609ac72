#include "host/signindialog.h"

#include "framework/session/operador.h"
#include "framework/ui/messages/guard.h"
#include "framework/ui/messages/messageservice.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

SignInDialog::SignInDialog(QWidget *parent)
    : QDialog(parent)
    , edtOperador(new QLineEdit(this))
    , edtSenha(new QLineEdit(this))
    , lblMensagem(new QLabel(this))
    , btnEntrar(new QPushButton(QStringLiteral("Entrar"), this))
    , btnCancelar(new QPushButton(QStringLiteral("Cancelar"), this)) {
    setObjectName(QStringLiteral("frmSignIn"));
    setWindowTitle(QStringLiteral("Entrar"));
    setMinimumWidth(320);
    edtOperador->setObjectName(QStringLiteral("edtOperador"));
    edtOperador->setMaxLength(12);
    edtSenha->setObjectName(QStringLiteral("edtSenha"));
    edtSenha->setEchoMode(QLineEdit::Password);
    lblMensagem->setObjectName(QStringLiteral("lblMensagem"));
    lblMensagem->setStyleSheet(QStringLiteral("color: #b00000"));
    btnEntrar->setObjectName(QStringLiteral("btnEntrar"));
    btnEntrar->setDefault(true);
    btnCancelar->setObjectName(QStringLiteral("btnCancelar"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Operador"), edtOperador);
    form->addRow(QStringLiteral("Senha"), edtSenha);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(btnEntrar, QDialogButtonBox::AcceptRole);
    buttons->addButton(btnCancelar, QDialogButtonBox::RejectRole);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(lblMensagem);
    layout->addWidget(buttons);

    connect(btnEntrar, &QPushButton::clicked, this, guarded([this] { btnEntrarClick(); }));
    connect(btnCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

void SignInDialog::setOperador(const QString &code) {
    edtOperador->setText(code);
    edtSenha->setFocus();
}

QString SignInDialog::operador() const {
    return edtOperador->text().trimmed();
}

QString SignInDialog::senha() const {
    return edtSenha->text();
}

void SignInDialog::btnEntrarClick() {
    if (checkOperatorPassword(operador(), senha())) {
        accept();
        return;
    }
    edtSenha->clear();
    if (--m_triesLeft == 0) {
        MessageService::current().error(
            QStringLiteral("Operador ou senha inválidos. O acesso foi recusado após três tentativas."));
        reject();
        return;
    }
    lblMensagem->setText(QStringLiteral("Operador ou senha inválidos."));
    edtSenha->setFocus();
}
