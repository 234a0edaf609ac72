#include "appserver/server/dispatch.h"

#include "appserver/server/calllog.h"
#include "appserver/server/serverlog.h"
#include "framework/net/wire.h"

#include <QCborArray>
#include <QElapsedTimer>

Q_LOGGING_CATEGORY(lcServer, "pag.server")

namespace {

const QLatin1StringView typeKey("type");
const QLatin1StringView idKey("id");
const QLatin1StringView messageKey("message");

} // namespace

struct Dispatcher::Outcome {
    Wire::Message response;
    const char *label;
    QString detail;
};

// A call read off its request.
struct Dispatcher::Call {
    qint64 id = -1;
    QString module;
    QString method;
    QVariantList values;
    QList<bool> byReference;
};

Wire::Message failureAnswer(qint64 id, const QString &message) {
    Wire::Message response;
    response.insert(typeKey, QLatin1StringView("failure"));
    response.insert(idKey, id);
    response.insert(messageKey, message);
    return response;
}

Dispatcher::Dispatcher(const ModuleRegistry &modules)
    : m_modules(modules) {}

Dispatcher::~Dispatcher() = default;

Wire::Message Dispatcher::handleCall(Wire::Message &request, CallContext &context, int connectionId) {
    QElapsedTimer timer;
    timer.start();
    CallLog::Call logged;
    logged.connectionId = connectionId;
    logged.operatorCode = context.operatorCode;
    logged.module = request.value(QLatin1StringView("module")).toString();
    logged.method = request.value(QLatin1StringView("method")).toString();
    Outcome outcome = run(request, context);
    logged.nanoseconds = timer.nsecsElapsed();
    logged.outcome = outcome.label;
    logged.detail = std::move(outcome.detail);
    CallLog::add(std::move(logged));
    return std::move(outcome.response);
}

namespace {

// A method that failed halfway must not leave a transaction open on the session, for the next call.
void rollBack(CallContext &context) {
    if (context.db.isOpen())
        context.db.rollback();
}

} // namespace

RemoteModule *Dispatcher::module(const QString &serverName) {
    const QString key = serverName.toCaseFolded();
    auto found = m_instances.find(key);
    if (found != m_instances.end())
        return found->second.get();
    std::unique_ptr<RemoteModule> created = m_modules.create(serverName);
    RemoteModule *raw = created.get();
    if (raw)
        m_instances.emplace(key, std::move(created));
    return raw;
}

Dispatcher::Outcome Dispatcher::failure(qint64 id, const QString &message, const char *label,
                                        const QString &detail) {
    return Outcome{failureAnswer(id, message), label, detail};
}

Dispatcher::Outcome Dispatcher::run(Wire::Message &request, CallContext &context) {
    Call call;
    call.id = request.value(idKey).toInteger(-1);
    const QString problem = readCall(request, call);
    if (!problem.isEmpty())
        return failure(call.id, problem, "bad-call");
    RemoteModule *target = module(call.module);
    if (!target)
        return failure(call.id, QStringLiteral("Módulo remoto desconhecido: %1.").arg(call.module),
                       "bad-call");
    return execute(*target, call, context);
}

// Takes the request over: it is freed when this returns, and its packets are held by the call alone.
QString Dispatcher::readCall(Wire::Message &given, Call &call) {
    const Wire::Message request = std::exchange(given, Wire::Message());
    const QCborValue moduleName = request.value(QLatin1StringView("module"));
    const QCborValue method = request.value(QLatin1StringView("method"));
    const QCborValue wireArgs = request.value(QLatin1StringView("args"));
    const QCborValue wireRefs = request.value(QLatin1StringView("byref"));
    if (!moduleName.isString() || !method.isString() || !wireArgs.isArray() ||
        !(wireRefs.isArray() || wireRefs.isUndefined()))
        return QStringLiteral("Pedido malformado: módulo, método e argumentos são obrigatórios.");
    call.module = moduleName.toString();
    call.method = method.toString();
    call.byReference.resize(wireArgs.toArray().size());
    try {
        for (const QCborValue &arg : wireArgs.toArray())
            call.values.append(request.fromWire(arg));
    } catch (const Wire::WireError &e) {
        return QStringLiteral("Argumento inválido: %1.").arg(e.message());
    }
    for (const QCborValue &index : wireRefs.toArray()) {
        if (!index.isInteger() || index.toInteger() < 0 || index.toInteger() >= call.values.size())
            return QStringLiteral("Pedido malformado: índice de argumento por referência inválido.");
        call.byReference[index.toInteger()] = true;
    }
    return {};
}

Dispatcher::Outcome Dispatcher::execute(RemoteModule &target, Call &call, CallContext &context) {
    CallArgs args(std::move(call.values), std::move(call.byReference));
    try {
        QVariant result = target.call(call.method, args, context);
        Wire::Message response;
        QCborMap refs;
        for (int i = 0; i < args.count(); ++i) {
            if (args.isByReference(i))
                refs.insert(i, response.toWire(args.at(i)));
        }
        response.insert(typeKey, QLatin1StringView("result"));
        response.insert(idKey, call.id);
        response.insertValue(QLatin1StringView("value"), std::exchange(result, QVariant()));
        response.insert(QLatin1StringView("refs"), refs);
        return Outcome{response, "ok", {}};
    } catch (const BadCall &e) {
        rollBack(context);
        return failure(call.id, e.message(), "bad-call");
    } catch (const ServerFailure &e) {
        rollBack(context);
        return failure(call.id, e.message(), "failure");
    } catch (const std::exception &e) {
        // A fault of the server itself: the user learns that the call failed, the log tells why.
        rollBack(context);
        return failure(call.id,
                       QStringLiteral("Erro interno do servidor de aplicação em %1.").arg(call.method),
                       "error", QString::fromUtf8(e.what()));
    }
}
