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

    QCborMap handleCall(const QCborMap &request);

private:
    struct Outcome;
    Outcome run(const QCborMap &request);
    RemoteModule *module(const QString &serverName);
    void rollBack();

    const ModuleRegistry &m_modules;
    CallContext &m_context;
    int m_connectionId;
    std::map<QString, std::unique_ptr<RemoteModule>> m_instances;
};
