#pragma once

#include "appserver/server/module.h"

#include "framework/core/datapacket.h"

#include <QHash>
#include <QSqlQuery>

#include <memory>

class SqliteStatements;

// What the two modules share: method lookup without regard to case, prepared statements kept for
// the connection's lifetime, and the operator's rights. A module is destroyed before its connection
// closes.
class ModuleBase : public RemoteModule {
public:
    QVariant call(const QString &method, CallArgs &args, CallContext &ctx) override;

protected:
    using Handler = std::function<QVariant(CallArgs &, CallContext &)>;
    // Registers a method under its contract name.
    void addMethod(const QString &name, Handler handler);

    ModuleBase();
    ~ModuleBase() override;

    // The rows of a statement prepared once per connection as a packet (see PacketBuilder). On SQLite the
    // cells go from its rows straight into the packet's columns, below Qt's per-cell values.
    DataPacket select(CallContext &ctx, const QString &sql, const QVariantList &values,
                      const QList<FieldDef> &fields, const QStringList &moneyFields = {});
    // The first row of such a statement, each cell as Qt's driver gives it; empty when there is none.
    QVariantList firstRow(CallContext &ctx, const QString &sql, const QVariantList &values);

    // Refuses a company the signed-in operator may not work with.
    void requireCompany(CallContext &ctx, const QString &company);
    // Refuses a branch of such a company; an unknown branch passes (its queries find nothing).
    void requireBranch(CallContext &ctx, const QString &branch);

private:
    // Forgets the statements of another connection than the call's; the SQLite statements of the call's
    // connection, or nullptr when it is not an SQLite one.
    SqliteStatements *statementsFor(CallContext &ctx);
    // The statement prepared once per connection, run with these values; positioned before its first row.
    QSqlQuery &run(CallContext &ctx, const QString &sql, const QVariantList &values);

    QHash<QString, std::pair<QString, Handler>> m_methods;
    QHash<QString, QSqlQuery> m_statements;
    std::unique_ptr<SqliteStatements> m_sqlite;
    QString m_connectionName;
};

// A packet as the value a method answers.
QVariant packetVariant(const DataPacket &packet);
