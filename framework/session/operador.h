#pragma once

#include <QString>

// Operator checks against the shared database connection (dtmDBGeral).

// True when the operator exists, is active and the password matches its stored hash. An unknown operator
// and a wrong password are not told apart.
bool checkOperatorPassword(const QString &operador, const QString &senha);

// True when the active operator may work with the company (a row of the operators' companies table).
bool AcessoOperEmpresa(const QString &operador, const QString &empresa);

// Empty when the application server at the session's address accepts the operator's sign-in;
// otherwise why not, in Portuguese (server down, wrong address, operator refused).
QString serverRefusal(const QString &operador, const QString &senha);
