#include "host/signindialog.h"

#include "framework/session/dbgeral.h"
#include "framework/session/norvela.h"
#include "framework/session/operador.h"
#include "framework/ui/messages/guard.h"
#include "framework/ui/messages/messageservice.h"
#include "host/identity.h"

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
    setWindowTitle(QStringLiteral("Entrar - %1").arg(systemName()));
    setMinimumWidth(380);
    edtOperador->setObjectName(QStringLiteral("edtOperador"));
    edtOperador->setMaxLength(12);
    edtSenha->setObjectName(QStringLiteral("edtSenha"));
    edtSenha->setEchoMode(QLineEdit::Password);
    lblMensagem->setObjectName(QStringLiteral("lblMensagem"));
    lblMensagem->setStyleSheet(QStringLiteral("color: #b00000"));
    lblMensagem->setWordWrap(true);
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
    layout->addLayout(buildHeader());
    layout->addLayout(form);
    layout->addWidget(lblMensagem);
    layout->addWidget(buttons);
    edtOperador->setFocus();

    connect(btnEntrar, &QPushButton::clicked, this, guarded([this] { btnEntrarClick(); }));
    connect(btnCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

// The system's name, then where the operator signs in.
QLayout *SignInDialog::buildHeader() {
    auto *lblSistema = new QLabel(systemName(), this);
    lblSistema->setObjectName(QStringLiteral("lblSistema"));
    QFont title = lblSistema->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.3);
    lblSistema->setFont(title);
    auto *lblServidor =
        new QLabel(QStringLiteral("Servidor: %1:%2").arg(Norvela::WebURL()).arg(Norvela::WebPort()), this);
    lblServidor->setObjectName(QStringLiteral("lblServidor"));
    auto *lblBanco = new QLabel(QStringLiteral("Banco: %1").arg(dtmDBGeral()->displayUrl()), this);
    lblBanco->setObjectName(QStringLiteral("lblBanco"));
    lblBanco->setWordWrap(true);
    auto *header = new QVBoxLayout;
    header->addWidget(lblSistema);
    header->addWidget(lblServidor);
    header->addWidget(lblBanco);
    header->addSpacing(6);
    return header;
}

void SignInDialog::setOperador(const QString &code) {
    edtOperador->setText(code);
    if (!code.isEmpty())
        edtSenha->setFocus();
}

QString SignInDialog::operador() const {
    return edtOperador->text().trimmed();
}

QString SignInDialog::senha() const {
    return edtSenha->text();
}

void SignInDialog::btnEntrarClick() {
    if (!checkOperatorPassword(operador(), senha())) {
        refuse(QStringLiteral("Operador ou senha inválidos."));
        return;
    }
    if (const QString problem = serverRefusal(operador(), senha()); !problem.isEmpty()) {
        lblMensagem->setText(problem);
        return;
    }
    accept();
}

void SignInDialog::refuse(const QString &message) {
    edtSenha->clear();
    if (--m_triesLeft == 0) {
        MessageService::current().error(
            QStringLiteral("%1 O acesso foi recusado após três tentativas.").arg(message));
        reject();
        return;
    }
    lblMensagem->setText(message);
    edtSenha->setFocus();
}
