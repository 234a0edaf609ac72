#include "appserver/modules/modulebase.h"
#include "appserver/db/sqlutil.h"

#include "framework/core/datapacket.h"

QVariant ModuleBase::call(const QString &method, CallArgs &args, CallContext &ctx) {
    const auto found = m_methods.constFind(method.toLower());
    if (found == m_methods.constEnd())
        throw BadCall::unknownMethod(serverName(), method);
    return found->second(args, ctx);
}

void ModuleBase::addMethod(const QString &name, Handler handler) {
    m_methods.insert(name.toLower(), {name, std::move(handler)});
}

QSqlQuery &ModuleBase::run(CallContext &ctx, const QString &sql, const QVariantList &values) {
    if (m_connectionName != ctx.db.connectionName()) {
        m_statements.clear();
        m_connectionName = ctx.db.connectionName();
    }
    auto statement = m_statements.find(sql);
    if (statement == m_statements.end())
        statement = m_statements.insert(sql, prepareSql(ctx.db, sql));
    for (int i = 0; i < values.size(); ++i)
        statement->bindValue(i, values.at(i));
    execPrepared(*statement);
    return *statement;
}

void ModuleBase::requireCompany(CallContext &ctx, const QString &company) {
    QSqlQuery &query =
        run(ctx,
            QStringLiteral("SELECT 1 FROM OPEREMPRESA O JOIN OPERADOR P ON P.CDOPERADOR = O.CDOPERADOR"
                           " WHERE O.CDOPERADOR = ? AND O.CDEMPRESA = ? AND P.IDATIVO = 'S'"),
            {ctx.operatorCode, company});
    const bool allowed = query.next();
    query.finish();
    if (!allowed)
        throw ServerFailure(QStringLiteral("Empresa %1 não relacionada ao operador logado.").arg(company));
}

// The branch's company and the operator's right to it in one statement: most calls name a branch.
void ModuleBase::requireBranch(CallContext &ctx, const QString &branch) {
    QSqlQuery &query =
        run(ctx,
            QStringLiteral(
                "SELECT F.CDEMPRESA, (SELECT COUNT(*) FROM OPEREMPRESA O"
                " JOIN OPERADOR P ON P.CDOPERADOR = O.CDOPERADOR WHERE O.CDOPERADOR = ?"
                " AND O.CDEMPRESA = F.CDEMPRESA AND P.IDATIVO = 'S') FROM FILIAL F WHERE F.CDFILIAL = ?"),
            {ctx.operatorCode, branch});
    const bool known = query.next();
    const QString company = known ? query.value(0).toString() : QString();
    const bool allowed = known && query.value(1).toLongLong() > 0;
    query.finish();
    if (!company.isEmpty() && !allowed)
        throw ServerFailure(
            QStringLiteral("Filial %1 pertence a empresa não relacionada ao operador logado.").arg(branch));
}

QVariant packetVariant(const DataPacket &packet) {
    return QVariant::fromValue(packet);
}
