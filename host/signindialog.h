#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for operator and password and checks them against the operators table of the shared
// database. It accepts only valid credentials; after the third refusal it closes as rejected.
class SignInDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int maxTries = 3;

    explicit SignInDialog(QWidget *parent = nullptr);

    void setOperador(const QString &code);
    QString operador() const;
    QString senha() const;
    int triesLeft() const { return m_triesLeft; }

private:
    void btnEntrarClick();

    QLineEdit *edtOperador;
    QLineEdit *edtSenha;
    QLabel *lblMensagem;
    QPushButton *btnEntrar;
    QPushButton *btnCancelar;
    int m_triesLeft = maxTries;
};
