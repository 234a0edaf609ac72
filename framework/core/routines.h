#pragma once

#include "framework/core/pagcore_export.h"

#include <QChar>
#include <QString>

// True when the text holds nothing but blanks and the separators of an empty date edit ("  /  /    ").
PAGCORE_EXPORT bool EmptyString(const QString &text);

// Brings a code to the given width by left-padding with '0' (after trimming blanks), so codes of
// digits with equal width compare in numeric order. An empty code stays empty; a longer code is
// left as it is.
PAGCORE_EXPORT QString Ajusta(const QString &code, int length);

// Checks a key typed into a number edit holding text with the selection [selStart, selStart +
// selLength): throws SilentAbort when the resulting text would have more than intDigits integer
// or decDigits decimal digits, or a second decimal separator (','), wherever the key goes. Keys
// other than digits and the separator pass (editing keys, the null character).
PAGCORE_EXPORT void MaxNumber(const QString &text, int intDigits, int decDigits, QChar key, int selStart,
                              int selLength);

// Rounds half away from zero on the value's shortest decimal form (2.675 -> 2.68).
PAGCORE_EXPORT double RoundDec(double value, int decimals);

// Display mask of a person's registration number: "999.999.999-99" for "F" (individual),
// "99.999.999/9999-99" for "J" (company), "" otherwise. In a mask, '9' stands for one digit and
// every other character is shown as it stands.
PAGCORE_EXPORT QString PictPess(const QString &idTpIjurForn);

// Places the digits of text into the mask's '9' positions; literals are inserted only before
// a digit that follows them, so a partial number gives a partial mask. Non-digits are skipped.
PAGCORE_EXPORT QString applyMask(const QString &digits, const QString &mask);

// "#,##0.00" in Brazilian notation: 1.234,56 and -1.234,56.
PAGCORE_EXPORT QString formatMoney(double value);

// dd/MM/yyyy of a day count; "" for 0.
PAGCORE_EXPORT QString formatShortDate(double days);
