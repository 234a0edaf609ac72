#pragma once

#include "appserver/server/module.h"

#include <QCborMap>

#include <map>
#include <memory>

// The answer that fails call `id` with a message for the user; the connection goes on.
QCborMap failureAnswer(qint64 id, const QString &message);

// Runs the calls given to one database session: finds the module (one instance per session, made on
// first use, so its prepared statements belong to that session), decodes the arguments, calls the
// method and builds the response, logging one line per call.
class Dispatcher {
public:
    explicit Dispatcher(const ModuleRegistry &modules);
    ~Dispatcher();

    // Runs the call of connection `connectionId` on the context's session. Empties `request` once its
    // arguments are decoded, so that the CBOR, which may carry a large packet, is not held while the
    // method runs.
    QCborMap handleCall(QCborMap &request, CallContext &context, int connectionId);

private:
    struct Call;
    struct Outcome;
    static Outcome failure(qint64 id, const QString &message, const char *label, const QString &detail = {});
    static QString readCall(QCborMap &request, Call &call);
    Outcome run(QCborMap &request, CallContext &context);
    static Outcome execute(RemoteModule &target, Call &call, CallContext &context);
    RemoteModule *module(const QString &serverName);

    const ModuleRegistry &m_modules;
    std::map<QString, std::unique_ptr<RemoteModule>> m_instances;
};
