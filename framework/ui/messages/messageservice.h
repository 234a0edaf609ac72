#pragma once

#include <QFlags>
#include <QStringList>

// The one dialog service: every message and question the user sees goes through it.
// Answer codes are the ones callers compare against (6 for Yes).
enum DialogResult { ResultOk = 1, ResultCancel = 2, ResultYes = 6, ResultNo = 7 };

enum class DialogType { Warning, Error, Information, Confirmation };

enum class DialogButton { Ok = 0x1, Cancel = 0x2, Yes = 0x4, No = 0x8 };
Q_DECLARE_FLAGS(DialogButtons, DialogButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(DialogButtons)

class MessageService {
public:
    virtual ~MessageService() = default;

    // Shows text and returns the DialogResult of the button pressed.
    virtual int show(DialogType type, const QString &text, DialogButtons buttons) = 0;

    void error(const QString &text) { show(DialogType::Error, text, DialogButton::Ok); }
    void info(const QString &text) { show(DialogType::Information, text, DialogButton::Ok); }
    void warning(const QString &text) { show(DialogType::Warning, text, DialogButton::Ok); }
    int question(const QString &text, DialogButtons buttons = DialogButton::Yes | DialogButton::No) {
        return show(DialogType::Confirmation, text, buttons);
    }

    // Asks for a name: one of names, or (allowNew) a new one typed by the user. Returns the name
    // chosen, or an empty text when the user cancels.
    virtual QString chooseName(const QString &prompt, const QStringList &names, bool allowNew) = 0;

    // The process-wide service; a message-box service unless another was installed.
    static MessageService &current();
    // Installs service (not owned); nullptr goes back to the message-box service.
    static void setCurrent(MessageService *service);
};

// DialogResult of a single button.
int resultOf(DialogButton button);

// Modal message boxes with pt-BR buttons ("Sim", "Não", "OK", "Cancelar") and the application's caption.
class MessageBoxService : public MessageService {
public:
    int show(DialogType type, const QString &text, DialogButtons buttons) override;
    QString chooseName(const QString &prompt, const QStringList &names, bool allowNew) override;
};
