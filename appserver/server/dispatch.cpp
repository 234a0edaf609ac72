#include "appserver/server/dispatch.h"

#include "appserver/server/serverlog.h"
#include "framework/net/wire.h"

#include <QCborArray>
#include <QElapsedTimer>

Q_LOGGING_CATEGORY(lcServer, "pag.server")

namespace {

const QLatin1StringView typeKey("type");
const QLatin1StringView idKey("id");
const QLatin1StringView messageKey("message");

// Names come from the client: keep a log line one line of readable text.
QString printable(const QString &name) {
    QString out = name.left(80);
    for (QChar &c : out) {
        if (!c.isPrint() || c.isSpace())
            c = QLatin1Char('?');
    }
    return out.isEmpty() ? QStringLiteral("-") : out;
}

} // namespace

struct Dispatcher::Outcome {
    QCborMap response;
    const char *label;
    QString detail;
};

Dispatcher::Dispatcher(const ModuleRegistry &modules, CallContext &context, int connectionId)
    : m_modules(modules)
    , m_context(context)
    , m_connectionId(connectionId) {}

Dispatcher::~Dispatcher() = default;

QCborMap Dispatcher::handleCall(const QCborMap &request) {
    QElapsedTimer timer;
    timer.start();
    const Outcome outcome = run(request);
    const QString line = QStringLiteral("call conn=%1 operator=%2 module=%3 method=%4 ms=%5 outcome=%6")
                             .arg(m_connectionId)
                             .arg(printable(m_context.operatorCode),
                                  printable(request.value(QLatin1StringView("module")).toString()),
                                  printable(request.value(QLatin1StringView("method")).toString()))
                             .arg(double(timer.nsecsElapsed()) / 1e6, 0, 'f', 2)
                             .arg(QLatin1StringView(outcome.label));
    if (outcome.detail.isEmpty())
        qCInfo(lcServer).noquote() << line;
    else
        qCWarning(lcServer).noquote() << line << "detail:" << outcome.detail;
    return outcome.response;
}

// A method that failed halfway must not leave a transaction open on this connection.
void Dispatcher::rollBack() {
    if (m_context.db.isOpen())
        m_context.db.rollback();
}

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

Dispatcher::Outcome Dispatcher::run(const QCborMap &request) {
    const qint64 id = request.value(idKey).toInteger(-1);
    const auto failure = [id](const QString &message, const char *label, const QString &detail = {}) {
        QCborMap response;
        response.insert(typeKey, QLatin1StringView("failure"));
        response.insert(idKey, id);
        response.insert(messageKey, message);
        return Outcome{response, label, detail};
    };
    const QCborValue moduleName = request.value(QLatin1StringView("module"));
    const QCborValue method = request.value(QLatin1StringView("method"));
    const QCborValue wireArgs = request.value(QLatin1StringView("args"));
    const QCborValue wireRefs = request.value(QLatin1StringView("byref"));
    if (!moduleName.isString() || !method.isString() || !wireArgs.isArray() ||
        !(wireRefs.isArray() || wireRefs.isUndefined()))
        return failure(QStringLiteral("Pedido malformado: módulo, método e argumentos são obrigatórios."),
                       "bad-call");

    QVariantList values;
    QList<bool> byReference(wireArgs.toArray().size());
    try {
        for (const QCborValue &arg : wireArgs.toArray())
            values.append(Wire::fromWire(arg));
    } catch (const Wire::WireError &e) {
        return failure(QStringLiteral("Argumento inválido: %1.").arg(e.message()), "bad-call");
    }
    for (const QCborValue &index : wireRefs.toArray()) {
        if (!index.isInteger() || index.toInteger() < 0 || index.toInteger() >= values.size())
            return failure(QStringLiteral("Pedido malformado: índice de argumento por referência inválido."),
                           "bad-call");
        byReference[index.toInteger()] = true;
    }

    RemoteModule *target = module(moduleName.toString());
    if (!target)
        return failure(QStringLiteral("Módulo remoto desconhecido: %1.").arg(moduleName.toString()),
                       "bad-call");

    CallArgs args(std::move(values), std::move(byReference));
    try {
        const QVariant result = target->call(method.toString(), args, m_context);
        QCborMap refs;
        for (int i = 0; i < args.count(); ++i) {
            if (args.isByReference(i))
                refs.insert(i, Wire::toWire(args.at(i)));
        }
        QCborMap response;
        response.insert(typeKey, QLatin1StringView("result"));
        response.insert(idKey, id);
        response.insert(QLatin1StringView("value"), Wire::toWire(result));
        response.insert(QLatin1StringView("refs"), refs);
        return Outcome{response, "ok", {}};
    } catch (const BadCall &e) {
        rollBack();
        return failure(e.message(), "bad-call");
    } catch (const ServerFailure &e) {
        rollBack();
        return failure(e.message(), "failure");
    } catch (const std::exception &e) {
        // A fault of the server itself: the user learns that the call failed, the log tells why.
        rollBack();
        return failure(QStringLiteral("Erro interno do servidor de aplicação em %1.").arg(method.toString()),
                       "error", QString::fromUtf8(e.what()));
    }
}
