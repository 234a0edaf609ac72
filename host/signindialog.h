#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for operator and password. It names the system and shows the server and database it signs
// into. It accepts only an operator whose password matches the operators table of the shared
// database and whom the application server accepts too, so that the screens' calls will work;
// after the third wrong password it closes as rejected. A server that cannot be reached is said
// in the dialog and costs no try.
class SignInDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int maxTries = 3;

    explicit SignInDialog(QWidget *parent = nullptr);

    // An operator given in advance: the focus goes to the password.
    void setOperador(const QString &code);
    QString operador() const;
    QString senha() const;
    int triesLeft() const { return m_triesLeft; }

private:
    QLayout *buildHeader();
    void btnEntrarClick();
    void refuse(const QString &message);

    QLineEdit *edtOperador;
    QLineEdit *edtSenha;
    QLabel *lblMensagem;
    QPushButton *btnEntrar;
    QPushButton *btnCancelar;
    int m_triesLeft = maxTries;
};
