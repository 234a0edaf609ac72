#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "framework/net/password.h"

// An unknown operator costs the same hashing as a wrong password. A hash of an older, lower cost is
// replaced at the first sign-in that proves the password.
bool checkOperator(QSqlDatabase &db, const QString &code, const QString &password) {
    const QVariant stored = selectValue(
        db, QStringLiteral("SELECT DSSENHAHASH FROM OPERADOR WHERE CDOPERADOR = ? AND IDATIVO = 'S'"),
        {code});
    if (!stored.isValid()) {
        spendPasswordCheck(password);
        return false;
    }
    if (!verifyPassword(password, stored.toString()))
        return false;
    if (needsRehash(stored.toString()))
        runSql(db, QStringLiteral("UPDATE OPERADOR SET DSSENHAHASH = ? WHERE CDOPERADOR = ?"),
               {hashPassword(password), code});
    return true;
}

bool operatorMayUseCompany(QSqlDatabase &db, const QString &operatorCode, const QString &company) {
    return selectValue(
               db,
               QStringLiteral("SELECT 1 FROM OPEREMPRESA O JOIN OPERADOR P ON P.CDOPERADOR = O.CDOPERADOR"
                              " WHERE O.CDOPERADOR = ? AND O.CDEMPRESA = ? AND P.IDATIVO = 'S'"),
               {operatorCode, company})
        .isValid();
}

QString companyOfBranch(QSqlDatabase &db, const QString &branch) {
    return selectValue(db, QStringLiteral("SELECT CDEMPRESA FROM FILIAL WHERE CDFILIAL = ?"), {branch})
        .toString();
}
