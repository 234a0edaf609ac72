#include "server_contract/listargs.h"

#include <QSet>

namespace CodeList {

bool isValidCode(const QString &code) {
    if (code.isEmpty() || code.size() > maxCodeLength)
        return false;
    for (QChar c : code) {
        const char16_t u = c.unicode();
        if (u <= u' ' || u > u'~' || u == separator || u == u'\'' || u == u'"')
            return false;
    }
    return true;
}

namespace {

QStringList unique(const QStringList &codes) {
    QStringList result;
    QSet<QString> seen;
    for (const QString &code : codes) {
        if (!isValidCode(code))
            throw FormatError(
                QStringLiteral("Código inválido na lista: \"%1\".").arg(code.left(maxCodeLength)));
        if (!seen.contains(code)) {
            seen.insert(code);
            result << code;
        }
    }
    if (result.size() > maxCodes)
        throw FormatError(QStringLiteral("Lista com mais de %1 códigos.").arg(maxCodes));
    return result;
}

} // namespace

QStringList parse(const QString &text) {
    if (text.isEmpty())
        return {};
    if (text.size() > maxCodes * (maxCodeLength + 1))
        throw FormatError(QStringLiteral("Lista com mais de %1 códigos.").arg(maxCodes));
    return unique(text.split(QLatin1Char(separator)));
}

QString write(const QStringList &codes) {
    return unique(codes).join(QLatin1Char(separator));
}

} // namespace CodeList
