#include "framework/ui/messages/messageservice.h"

#include "framework/core/abort.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

MessageService *installed = nullptr;

MessageBoxService &messageBoxes() {
    static MessageBoxService service;
    return service;
}

// MensErro shows its text through whichever service is current when it runs.
[[maybe_unused]] const bool errorDisplayInstalled = [] {
    setErrorDisplay([](const QString &text) { MessageService::current().error(text); });
    return true;
}();

QMessageBox::Icon iconOf(DialogType type) {
    switch (type) {
    case DialogType::Warning:
        return QMessageBox::Warning;
    case DialogType::Error:
        return QMessageBox::Critical;
    case DialogType::Information:
        return QMessageBox::Information;
    case DialogType::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

void addButton(QMessageBox &box, DialogButtons buttons, DialogButton button, const QString &text,
               QMessageBox::ButtonRole role) {
    if (!buttons.testFlag(button))
        return;
    QPushButton *pushButton = box.addButton(text, role);
    pushButton->setProperty("dialogResult", resultOf(button));
    if (!box.defaultButton())
        box.setDefaultButton(pushButton);
}

} // namespace

MessageService &MessageService::current() {
    return installed ? *installed : messageBoxes();
}

void MessageService::setCurrent(MessageService *service) {
    installed = service;
}

int resultOf(DialogButton button) {
    switch (button) {
    case DialogButton::Ok:
        return ResultOk;
    case DialogButton::Cancel:
        return ResultCancel;
    case DialogButton::Yes:
        return ResultYes;
    case DialogButton::No:
        return ResultNo;
    }
    return ResultCancel;
}

int MessageBoxService::show(DialogType type, const QString &text, DialogButtons buttons) {
    if (!buttons)
        buttons = DialogButton::Ok;
    QMessageBox box(iconOf(type), QApplication::applicationDisplayName(), text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    addButton(box, buttons, DialogButton::Yes, QStringLiteral("Sim"), QMessageBox::YesRole);
    addButton(box, buttons, DialogButton::No, QStringLiteral("Não"), QMessageBox::NoRole);
    addButton(box, buttons, DialogButton::Ok, QStringLiteral("OK"), QMessageBox::AcceptRole);
    addButton(box, buttons, DialogButton::Cancel, QStringLiteral("Cancelar"), QMessageBox::RejectRole);
    box.exec();
    QAbstractButton *clicked = box.clickedButton();
    if (!clicked)
        return buttons.testFlag(DialogButton::Cancel) ? ResultCancel
               : buttons.testFlag(DialogButton::No)   ? ResultNo
                                                      : ResultOk;
    return clicked->property("dialogResult").toInt();
}

QString MessageBoxService::chooseName(const QString &prompt, const QStringList &names, bool allowNew) {
    bool ok = false;
    const QString name =
        QInputDialog::getItem(QApplication::activeWindow(), QApplication::applicationDisplayName(), prompt,
                              names, 0, allowNew, &ok);
    return ok ? name.trimmed() : QString();
}
