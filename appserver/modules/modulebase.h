#pragma once

#include "appserver/server/module.h"

#include <QHash>
#include <QSqlQuery>

class DataPacket;

// What the two modules share: method lookup without regard to case, prepared statements kept for
// the connection's lifetime, and the operator's rights.
class ModuleBase : public RemoteModule {
public:
    QVariant call(const QString &method, CallArgs &args, CallContext &ctx) override;

protected:
    using Handler = std::function<QVariant(CallArgs &, CallContext &)>;
    // Registers a method under its contract name.
    void addMethod(const QString &name, Handler handler);

    // The statement prepared once per connection, run with these values; positioned before its first row.
    QSqlQuery &run(CallContext &ctx, const QString &sql, const QVariantList &values);

    // Refuses a company the signed-in operator may not work with.
    void requireCompany(CallContext &ctx, const QString &company);
    // Refuses a branch of such a company; an unknown branch passes (its queries find nothing).
    void requireBranch(CallContext &ctx, const QString &branch);

private:
    QHash<QString, std::pair<QString, Handler>> m_methods;
    QHash<QString, QSqlQuery> m_statements;
    QString m_connectionName;
};

// A packet as the value a method answers.
QVariant packetVariant(const DataPacket &packet);
