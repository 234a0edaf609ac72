#pragma once

#include "appserver/server/module.h"

#include <QCborMap>

#include <map>
#include <memory>

// Runs the calls of one connection: finds the module (one instance per connection, made on first
// use), decodes the arguments, calls the method and builds the response, logging one line per call.
class Dispatcher {
public:
    Dispatcher(const ModuleRegistry &modules, CallContext &context, int connectionId);
    ~Dispatcher();

    // Empties `request` once its arguments are decoded, so that the CBOR, which may carry a large
    // packet, is not held while the method runs.
    QCborMap handleCall(QCborMap &request);

private:
    struct Call;
    struct Outcome;
    static Outcome failure(qint64 id, const QString &message, const char *label, const QString &detail = {});
    static QString readCall(QCborMap &request, Call &call);
    Outcome run(QCborMap &request);
    Outcome execute(RemoteModule &target, Call &call);
    RemoteModule *module(const QString &serverName);
    void rollBack();

    const ModuleRegistry &m_modules;
    CallContext &m_context;
    int m_connectionId;
    std::map<QString, std::unique_ptr<RemoteModule>> m_instances;
};
