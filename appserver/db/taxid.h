#pragma once

#include <QString>

// Brazilian registration numbers: CPF (11 digits, persons) and CNPJ (14 digits, companies), digits only.

// The number with its two check digits appended to the base (9 digits for a CPF, 12 for a CNPJ).
QString completeCpf(const QString &base9);
QString completeCnpj(const QString &base12);

bool isValidCpf(const QString &digits);
bool isValidCnpj(const QString &digits);
