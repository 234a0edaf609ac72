#include "framework/ui/controls/numberedit.h"

#include <QLocale>
#include <QRegularExpressionValidator>

TNumberEdit::TNumberEdit(QWidget *parent)
    : MaskedEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9.]*,?[0-9]*")), this));
}

TNumberEdit::TNumberEdit(const QString &objectName, QWidget *parent)
    : TNumberEdit(parent) {
    setObjectName(objectName);
}

double TNumberEdit::parse(const QString &text) {
    QString plain = text.trimmed();
    plain.remove(QLatin1Char('.'));
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = plain.toDouble(&ok);
    return ok ? value : 0.0;
}

double TNumberEdit::GetNumber() const {
    return parse(text());
}

void TNumberEdit::SetNumber(double value) {
    setText(format(value));
}

QString TNumberEdit::format(double value) const {
    QLocale locale(QLocale::Portuguese, QLocale::Brazil);
    if (!thousandsShown)
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimalCount);
}

void TNumberEdit::focusOutEvent(QFocusEvent *event) {
    if (!text().trimmed().isEmpty())
        setText(format(GetNumber()));
    MaskedEdit::focusOutEvent(event);
}
