#include "framework/session/operador.h"

#include "framework/net/netconnection.h"
#include "framework/net/password.h"
#include "framework/session/dbgeral.h"
#include "framework/session/norvela.h"

#include <QSqlError>
#include <QSqlQuery>
#include <stdexcept>

namespace {

QSqlQuery run(const QString &sql, const QVariantList &values) {
    QSqlQuery query(dtmDBGeral()->database());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw std::runtime_error(query.lastError().text().toStdString());
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw std::runtime_error(QStringLiteral("Erro ao consultar o banco de dados: %1")
                                     .arg(query.lastError().text())
                                     .toStdString());
    return query;
}

} // namespace

bool checkOperatorPassword(const QString &operador, const QString &senha) {
    QSqlQuery query =
        run(QStringLiteral("SELECT DSSENHAHASH FROM OPERADOR WHERE CDOPERADOR = ? AND IDATIVO = 'S'"),
            {operador});
    if (query.next())
        return verifyPassword(senha, query.value(0).toString());
    spendPasswordCheck(senha);
    return false;
}

bool AcessoOperEmpresa(const QString &operador, const QString &empresa) {
    QSqlQuery query =
        run(QStringLiteral("SELECT 1 FROM OPEREMPRESA O JOIN OPERADOR P ON P.CDOPERADOR = O.CDOPERADOR"
                           " WHERE O.CDOPERADOR = ? AND O.CDEMPRESA = ? AND P.IDATIVO = 'S'"),
            {operador, empresa});
    return query.next();
}

QString serverRefusal(const QString &operador, const QString &senha) {
    TNetConnection probe;
    probe.setHost(Norvela::WebURL());
    probe.setPort(quint16(Norvela::WebPort()));
    probe.setCredentials({operador, senha});
    try {
        probe.setConnected(true);
    } catch (const NetError &failure) {
        return failure.message();
    }
    probe.setConnected(false);
    return {};
}
