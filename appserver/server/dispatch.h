#pragma once

#include "appserver/server/module.h"

#include "framework/net/wire.h"

#include <map>
#include <memory>

// The answer that fails call `id` with a message for the user; the connection goes on.
Wire::Message failureAnswer(qint64 id, const QString &message);

// Runs the calls given to one database session: finds the module (one instance per session, made on
// first use, so its prepared statements belong to that session), decodes the arguments, calls the
// method and builds the response, logging one line per call.
class Dispatcher {
public:
    explicit Dispatcher(const ModuleRegistry &modules);
    ~Dispatcher();

    // Runs the call of connection `connectionId` on the context's session. Empties `request` once its
    // arguments are read, so that a large packet it carries is held by the call alone while the method
    // runs.
    Wire::Message handleCall(Wire::Message &request, CallContext &context, int connectionId);

private:
    struct Call;
    struct Outcome;
    static Outcome failure(qint64 id, const QString &message, const char *label, const QString &detail = {});
    static QString readCall(Wire::Message &request, Call &call);
    Outcome run(Wire::Message &request, CallContext &context);
    static Outcome execute(RemoteModule &target, Call &call, CallContext &context);
    RemoteModule *module(const QString &serverName);

    const ModuleRegistry &m_modules;
    std::map<QString, std::unique_ptr<RemoteModule>> m_instances;
};
