#include "framework/ui/controls/maskedit.h"

#include <QKeyEvent>

QString inputMaskOf(const QString &editMask) {
    if (editMask.isEmpty())
        return {};
    const QStringList parts = editMask.split(QLatin1Char(';'));
    QString result;
    for (QChar c : parts.front()) {
        switch (c.unicode()) {
        case '9':
            result += QLatin1Char('0');
            break;
        case '0':
            result += QLatin1Char('9');
            break;
        case 'L':
        case 'l':
        case 'A':
        case 'a':
            result += c;
            break;
        default:
            result += QLatin1Char('\\');
            result += c;
        }
    }
    const QString blank = parts.size() > 2 && !parts[2].isEmpty() ? parts[2].left(1) : QStringLiteral(" ");
    return result + QLatin1Char(';') + blank;
}

MaskedEdit::MaskedEdit(QWidget *parent)
    : QLineEdit(parent) {}

MaskedEdit::MaskedEdit(const QString &objectName, QWidget *parent)
    : QLineEdit(parent) {
    setObjectName(objectName);
}

void MaskedEdit::setEditMask(const QString &editMask) {
    mask = editMask;
    setInputMask(inputMaskOf(editMask));
}

void MaskedEdit::keyPressEvent(QKeyEvent *event) {
    if (!onKeyPress || event->text().size() != 1 || !event->text().front().isPrint()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QChar key = filterKey(onKeyPress, event);
    if (key.isNull())
        return;
    if (key == event->text().front()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent replaced(event->type(), 0, event->modifiers(), QString(key));
    QLineEdit::keyPressEvent(&replaced);
}
