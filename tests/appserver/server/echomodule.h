#pragma once

#include "appserver/server/module.h"

#include <semaphore>

// A module of known behaviour for exercising the server: it echoes, writes back, fails on demand.
class EchoModule : public RemoteModule {
public:
    static QString name() { return QStringLiteral("Teste.rdmEco"); }
    QString serverName() const override { return name(); }
    QVariant call(const QString &method, CallArgs &args, CallContext &ctx) override;

    // "Segura" holds its database session: it signals `holding` once it runs and returns when the test
    // signals `release`.
    static inline std::binary_semaphore holding{0};
    static inline std::binary_semaphore release{0};
};
