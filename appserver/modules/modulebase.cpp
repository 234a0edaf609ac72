#include "appserver/modules/modulebase.h"
#include "appserver/db/sqlutil.h"
#include "appserver/modules/sqlitepacket.h"

#include <QSqlRecord>

ModuleBase::ModuleBase() = default;

ModuleBase::~ModuleBase() = default;

QVariant ModuleBase::call(const QString &method, CallArgs &args, CallContext &ctx) {
    const auto found = m_methods.constFind(method.toLower());
    if (found == m_methods.constEnd())
        throw BadCall::unknownMethod(serverName(), method);
    return found->second(args, ctx);
}

void ModuleBase::addMethod(const QString &name, Handler handler) {
    m_methods.insert(name.toLower(), {name, std::move(handler)});
}

SqliteStatements *ModuleBase::statementsFor(CallContext &ctx) {
    if (m_connectionName != ctx.db.connectionName()) {
        m_statements.clear();
        m_sqlite.reset();
        m_connectionName = ctx.db.connectionName();
    }
    if (!m_sqlite) {
        if (sqlite3 *handle = sqliteHandle(ctx.db))
            m_sqlite = std::make_unique<SqliteStatements>(handle);
    }
    return m_sqlite.get();
}

QSqlQuery &ModuleBase::run(CallContext &ctx, const QString &sql, const QVariantList &values) {
    statementsFor(ctx);
    auto statement = m_statements.find(sql);
    if (statement == m_statements.end())
        statement = m_statements.insert(sql, prepareSql(ctx.db, sql));
    for (int i = 0; i < values.size(); ++i)
        statement->bindValue(i, values.at(i));
    execPrepared(*statement);
    return *statement;
}

DataPacket ModuleBase::select(CallContext &ctx, const QString &sql, const QVariantList &values,
                              const QList<FieldDef> &fields, const QStringList &moneyFields) {
    if (SqliteStatements *sqlite = statementsFor(ctx))
        return sqlite->packet(sql, values, PacketBuilder(fields, moneyFields));
    return packetFromQuery(run(ctx, sql, values), fields, moneyFields);
}

QVariantList ModuleBase::firstRow(CallContext &ctx, const QString &sql, const QVariantList &values) {
    if (SqliteStatements *sqlite = statementsFor(ctx))
        return sqlite->firstRow(sql, values);
    QSqlQuery &query = run(ctx, sql, values);
    QVariantList row;
    if (query.next()) {
        for (int col = 0; col < query.record().count(); ++col)
            row.append(query.value(col));
    }
    query.finish();
    return row;
}

void ModuleBase::requireCompany(CallContext &ctx, const QString &company) {
    const bool allowed =
        !firstRow(ctx,
                  QStringLiteral("SELECT 1 FROM OPEREMPRESA O JOIN OPERADOR P ON P.CDOPERADOR = O.CDOPERADOR"
                                 " WHERE O.CDOPERADOR = ? AND O.CDEMPRESA = ? AND P.IDATIVO = 'S'"),
                  {ctx.operatorCode, company})
             .isEmpty();
    if (!allowed)
        throw ServerFailure(QStringLiteral("Empresa %1 não relacionada ao operador logado.").arg(company));
}

// The branch's company and the operator's right to it in one statement: most calls name a branch.
void ModuleBase::requireBranch(CallContext &ctx, const QString &branch) {
    const QVariantList row = firstRow(
        ctx,
        QStringLiteral(
            "SELECT F.CDEMPRESA, (SELECT COUNT(*) FROM OPEREMPRESA O"
            " JOIN OPERADOR P ON P.CDOPERADOR = O.CDOPERADOR WHERE O.CDOPERADOR = ?"
            " AND O.CDEMPRESA = F.CDEMPRESA AND P.IDATIVO = 'S') FROM FILIAL F WHERE F.CDFILIAL = ?"),
        {ctx.operatorCode, branch});
    const QString company = row.isEmpty() ? QString() : row.at(0).toString();
    const bool allowed = !row.isEmpty() && row.at(1).toLongLong() > 0;
    if (!company.isEmpty() && !allowed)
        throw ServerFailure(
            QStringLiteral("Filial %1 pertence a empresa não relacionada ao operador logado.").arg(branch));
}

QVariant packetVariant(const DataPacket &packet) {
    return QVariant::fromValue(packet);
}
