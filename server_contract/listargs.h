#pragma once

#include <QStringList>
#include <stdexcept>

// The code lists that the filter sends in GetCntPagar (suppliers, branches, account types): the codes
// joined by ";" with nothing else, e.g. "000012;000047". An empty text is an empty list. A code is 1 to
// maxCodeLength printable ASCII characters other than ";", blanks and quotes; a list holds at most
// maxCodes codes. The list picker writes this format with writeCodeList and the server reads it with
// parseCodeList, which accepts nothing else.
namespace CodeList {

inline constexpr int maxCodeLength = 21;
inline constexpr int maxCodes = 100000;
inline constexpr char separator = ';';

class FormatError : public std::invalid_argument {
public:
    explicit FormatError(const QString &message)
        : std::invalid_argument(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// Why the code cannot stand in a list, as the end of a sentence ("tem espaço em branco"); "" when it can.
QString faultOf(const QString &code);
// True when the code may stand in a list.
bool isValidCode(const QString &code);

// The codes of a list text, in order and without repetitions. Throws FormatError naming the fault.
QStringList parse(const QString &text);

// The list text of these codes (repetitions dropped). Throws FormatError on a code that no list may hold.
QString write(const QStringList &codes);

} // namespace CodeList
