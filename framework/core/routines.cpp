#include "framework/core/routines.h"

#include "framework/core/abort.h"
#include "framework/core/money.h"
#include "framework/core/tdatetime.h"

#include <QLocale>

bool EmptyString(const QString &text) {
    for (QChar c : text) {
        if (!c.isSpace() && c != u'/' && c != u':')
            return false;
    }
    return true;
}

QString Ajusta(const QString &code, int length) {
    const QString trimmed = code.trimmed();
    if (trimmed.isEmpty())
        return {};
    return trimmed.rightJustified(length, u'0');
}

void MaxNumber(const QString &text, int intDigits, int decDigits, QChar key, int selStart, int selLength) {
    if (!key.isDigit() && key != u',')
        return;
    const int start = qBound(0, selStart, int(text.size()));
    const QString result = text.left(start) + key + text.mid(start + qMax(0, selLength));
    const qsizetype comma = result.indexOf(u',');
    if (comma >= 0 && result.indexOf(u',', comma + 1) >= 0)
        throw SilentAbort();
    const auto digitCount = [](QStringView part) {
        return std::count_if(part.begin(), part.end(), [](QChar c) { return c.isDigit(); });
    };
    const QStringView whole = QStringView(result).left(comma < 0 ? result.size() : comma);
    const QStringView decimals = comma < 0 ? QStringView() : QStringView(result).mid(comma + 1);
    if (digitCount(whole) > intDigits || digitCount(decimals) > decDigits)
        throw SilentAbort();
}

double RoundDec(double value, int decimals) {
    if (decimals < 0 || decimals > 9)
        return value;
    double scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const double rounded = double(toScaled(value, decimals)) / scale;
    return rounded == 0 ? 0.0 : rounded;
}

QString PictPess(const QString &idTpIjurForn) {
    const QString kind = idTpIjurForn.trimmed().toUpper();
    if (kind == u"F")
        return QStringLiteral("999.999.999-99");
    if (kind == u"J")
        return QStringLiteral("99.999.999/9999-99");
    return {};
}

QString applyMask(const QString &digits, const QString &mask) {
    QString onlyDigits;
    for (QChar c : digits) {
        if (c.isDigit())
            onlyDigits.append(c);
    }
    QString result;
    qsizetype next = 0;
    for (QChar m : mask) {
        if (next >= onlyDigits.size())
            break;
        result.append(m == u'9' ? onlyDigits.at(next++) : m);
    }
    return result;
}

QString formatMoney(double value) {
    static const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    return brazil.toString(RoundDec(value, 2), 'f', 2);
}

QString formatShortDate(double days) {
    return days == 0 ? QString() : toDate(days).toString(QStringLiteral("dd/MM/yyyy"));
}
