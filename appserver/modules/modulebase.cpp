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

void ModuleBase::requireBranch(CallContext &ctx, const QString &branch) {
    QSqlQuery &query = run(ctx, QStringLiteral("SELECT CDEMPRESA FROM FILIAL WHERE CDFILIAL = ?"), {branch});
    const QString company = query.next() ? query.value(0).toString() : QString();
    query.finish();
    if (company.isEmpty())
        return;
    try {
        requireCompany(ctx, company);
    } catch (const ServerFailure &) {
        throw ServerFailure(
            QStringLiteral("Filial %1 pertence a empresa não relacionada ao operador logado.").arg(branch));
    }
}

QVariant packetVariant(const DataPacket &packet) {
    return QVariant::fromValue(packet);
}
