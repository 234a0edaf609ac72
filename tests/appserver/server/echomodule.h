#pragma once

#include "appserver/server/module.h"

// A module of known behaviour for exercising the server: it echoes, writes back, fails on demand.
class EchoModule : public RemoteModule {
public:
    static QString name() { return QStringLiteral("Teste.rdmEco"); }
    QString serverName() const override { return name(); }
    QVariant call(const QString &method, CallArgs &args, CallContext &ctx) override;
};
