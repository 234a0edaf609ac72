#include "host/consolemessages.h"

#include <QTextStream>

int ConsoleMessages::show(DialogType type, const QString &text, DialogButtons buttons) {
    if (type == DialogType::Error)
        ++m_errors;
    QTextStream(stderr) << (type == DialogType::Error ? "erro: " : "aviso: ") << text << '\n';
    for (DialogButton button : {DialogButton::Ok, DialogButton::Yes, DialogButton::No, DialogButton::Cancel})
        if (buttons.testFlag(button))
            return resultOf(button);
    return ResultOk;
}

QString ConsoleMessages::chooseName(const QString &prompt, const QStringList &names, bool allowNew) {
    QTextStream(stderr) << "cancelado: " << prompt << '\n';
    return {};
}
