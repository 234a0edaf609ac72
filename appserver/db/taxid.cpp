#include "appserver/db/taxid.h"

#include <QList>

namespace {

// Modulo-11 check digit over the digits with the given weights.
QChar checkDigit(const QString &digits, const QList<int> &weights) {
    int sum = 0;
    for (int i = 0; i < weights.size(); ++i)
        sum += digits.at(i).digitValue() * weights.at(i);
    const int rest = sum % 11;
    return QChar(u'0' + (rest < 2 ? 0 : 11 - rest));
}

QList<int> descending(int from, int count) {
    QList<int> weights;
    for (int i = 0; i < count; ++i)
        weights << from - i;
    return weights;
}

QList<int> cnpjWeights(int count) {
    // 5,4,3,2,9,8,...,2 for the first digit; 6,5,4,3,2,9,...,2 for the second.
    QList<int> weights;
    int weight = count - 7;
    for (int i = 0; i < count; ++i) {
        weights << weight;
        weight = weight == 2 ? 9 : weight - 1;
    }
    return weights;
}

bool allDigits(const QString &text, int length) {
    if (text.size() != length)
        return false;
    for (QChar c : text)
        if (!c.isDigit() || c.unicode() > 127)
            return false;
    return text.count(text.at(0)) != length; // repeated digits pass the arithmetic but are invalid
}

} // namespace

QString completeCpf(const QString &base9) {
    QString number = base9;
    number += checkDigit(number, descending(10, 9));
    number += checkDigit(number, descending(11, 10));
    return number;
}

QString completeCnpj(const QString &base12) {
    QString number = base12;
    number += checkDigit(number, cnpjWeights(12));
    number += checkDigit(number, cnpjWeights(13));
    return number;
}

bool isValidCpf(const QString &digits) {
    return allDigits(digits, 11) && completeCpf(digits.left(9)) == digits;
}

bool isValidCnpj(const QString &digits) {
    return allDigits(digits, 14) && completeCnpj(digits.left(12)) == digits;
}
