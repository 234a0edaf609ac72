#include "server_contract/listargs.h"

#include <QSet>

namespace CodeList {

QString faultOf(const QString &code) {
    if (code.isEmpty())
        return QStringLiteral("está vazio");
    if (code.size() > maxCodeLength)
        return QStringLiteral("tem mais de %1 caracteres").arg(maxCodeLength);
    for (QChar c : code) {
        const char16_t u = c.unicode();
        if (u <= u' ')
            return QStringLiteral("tem espaço em branco");
        if (u == separator)
            return QStringLiteral("tem \"%1\"").arg(QLatin1Char(separator));
        if (u == u'\'' || u == u'"')
            return QStringLiteral("tem aspas");
        if (u > u'~')
            return QStringLiteral("tem acento ou caractere especial");
    }
    return {};
}

bool isValidCode(const QString &code) {
    return faultOf(code).isEmpty();
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
