#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "framework/net/password.h"

// An unknown operator costs the same hashing as a wrong password. A hash of an older, lower cost is
// replaced at the first sign-in that proves the password.
bool checkOperator(QSqlDatabase &db, const QString &code, const QString &password) {
    const QString stored = operatorPasswordHash(db, code);
    if (!checkSignInPassword(password, stored))
        return false;
    if (needsRehash(stored))
        replaceOperatorPasswordHash(db, code, hashPassword(password));
    return true;
}

QString operatorPasswordHash(QSqlDatabase &db, const QString &code) {
    return selectValue(
               db, QStringLiteral("SELECT DSSENHAHASH FROM OPERADOR WHERE CDOPERADOR = ? AND IDATIVO = 'S'"),
               {code})
        .toString();
}

void replaceOperatorPasswordHash(QSqlDatabase &db, const QString &code, const QString &hash) {
    runSql(db, QStringLiteral("UPDATE OPERADOR SET DSSENHAHASH = ? WHERE CDOPERADOR = ?"), {hash, code});
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

namespace {

bool operatorExists(QSqlDatabase &db, const QString &code) {
    return selectValue(db, QStringLiteral("SELECT 1 FROM OPERADOR WHERE CDOPERADOR = ?"), {code}).isValid();
}

void requireOperator(QSqlDatabase &db, const QString &code) {
    if (!operatorExists(db, code))
        throw DatabaseError(QStringLiteral("Operador %1 não cadastrado.").arg(code));
}

void grantCompany(QSqlDatabase &db, const QString &code, const QString &company) {
    if (!selectValue(db, QStringLiteral("SELECT 1 FROM EMPRESA WHERE CDEMPRESA = ?"), {company}).isValid())
        throw DatabaseError(QStringLiteral("Empresa %1 não cadastrada.").arg(company));
    if (!operatorMayUseCompany(db, code, company))
        runSql(db, QStringLiteral("INSERT INTO OPEREMPRESA (CDOPERADOR, CDEMPRESA) VALUES (?, ?)"),
               {code, company});
}

} // namespace

void addOperator(QSqlDatabase &db, const QString &code, const QString &name, const QString &password) {
    if (operatorExists(db, code))
        throw DatabaseError(QStringLiteral("Operador %1 já cadastrado.").arg(code));
    runSql(db,
           QStringLiteral("INSERT INTO OPERADOR (CDOPERADOR, NMOPERADOR, DSSENHAHASH, IDATIVO) "
                          "VALUES (?, ?, ?, 'S')"),
           {code, name, hashPassword(password)});
}

void setOperatorPassword(QSqlDatabase &db, const QString &code, const QString &password) {
    requireOperator(db, code);
    replaceOperatorPasswordHash(db, code, hashPassword(password));
}

void grantCompanies(QSqlDatabase &db, const QString &code, const QStringList &companies) {
    requireOperator(db, code);
    if (!db.transaction())
        throw DatabaseError(QStringLiteral("Não foi possível iniciar a transação."));
    try {
        for (const QString &company : companies)
            grantCompany(db, code, company);
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        throw DatabaseError(QStringLiteral("Não foi possível gravar as empresas do operador."));
}
