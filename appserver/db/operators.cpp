#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "framework/net/password.h"

bool checkOperator(QSqlDatabase &db, const QString &code, const QString &password) {
    const QVariant stored = selectValue(
        db, QStringLiteral("SELECT DSSENHAHASH FROM OPERADOR WHERE CDOPERADOR = ? AND IDATIVO = 'S'"),
        {code});
    return stored.isValid() && verifyPassword(password, stored.toString());
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
