#include "appserver/server/databasesession.h"

#include "appserver/server/serverlog.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <libpq-fe.h>
#include <poll.h>

namespace {

// A PostgreSQL session that may have ended: libpq saw its link break, or the server sent something
// unasked while the session stood idle (the notice that it ends the session, then the end of the
// stream). Costs one poll of the socket and no round trip, so it can run before every call.
bool looksEnded(const QSqlDatabase &db) {
    if (db.driverName() != QLatin1StringView("QPSQL"))
        return false;
    const QVariant handle = db.driver()->handle();
    PGconn *link = *static_cast<PGconn *const *>(handle.constData());
    if (!link || PQstatus(link) != CONNECTION_OK)
        return true;
    pollfd socket{PQsocket(link), POLLIN, 0};
    return socket.fd < 0 || poll(&socket, 1, 0) != 0;
}

bool isFailure(const Wire::Message &answer) {
    return answer.value(QLatin1StringView("type")).toString() == QLatin1StringView("failure");
}

} // namespace

DatabaseSession::DatabaseSession(int id, const ServerBackend &backend)
    : m_id(id)
    , m_backend(backend)
    , m_connectionName(QStringLiteral("pagserver-session-%1").arg(id)) {}

DatabaseSession::~DatabaseSession() {
    close();
}

QString DatabaseSession::passwordHash(const QString &operatorCode) {
    ensureOpen();
    return m_backend.passwordHash(m_context.db, operatorCode);
}

void DatabaseSession::replacePasswordHash(const QString &operatorCode, const QString &hash) {
    ensureOpen();
    m_backend.replacePasswordHash(m_context.db, operatorCode, hash);
}

// A call that failed because the link to the database broke under it is answered with its failure: its
// transaction died with the session, so it wrote nothing, and the client may repeat it. The session is
// closed so that the next call opens a new one.
Wire::Message DatabaseSession::call(Wire::Message &request, const QString &operatorCode, int connectionId) {
    try {
        ensureOpen();
    } catch (const std::exception &e) {
        qCWarning(lcServer).noquote() << QStringLiteral("session=%1 database unavailable: %2")
                                             .arg(m_id)
                                             .arg(QString::fromUtf8(e.what()));
        return failureAnswer(
            request.value(QLatin1StringView("id")).toInteger(-1),
            QStringLiteral("O banco de dados do servidor de aplicação não está disponível."));
    }
    m_context.operatorCode = operatorCode;
    Wire::Message answer = m_dispatcher->handleCall(request, m_context, connectionId);
    if (isFailure(answer))
        replaceIfEnded();
    return answer;
}

// A session the database ended (a restart, an administrator, a cut network) fails every later
// statement: it is replaced before the call runs, so the call runs whole on the new one.
void DatabaseSession::ensureOpen() {
    replaceIfEnded();
    if (m_context.db.isOpen())
        return;
    close();
    m_context.db = m_backend.openDatabase(m_connectionName);
    m_dispatcher = std::make_unique<Dispatcher>(*m_backend.modules);
}

// Only a session that looks ended is probed, so a healthy one costs no round trip.
void DatabaseSession::replaceIfEnded() {
    if (!m_context.db.isOpen() || !looksEnded(m_context.db))
        return;
    QSqlQuery probe(m_context.db);
    if (probe.exec(QStringLiteral("SELECT 1")))
        return;
    qCWarning(lcServer).noquote() << QStringLiteral("session=%1 database session lost (%2): reconnecting")
                                         .arg(m_id)
                                         .arg(probe.lastError().text());
    probe = QSqlQuery();
    close();
}

// The module instances hold queries of the session: they go first.
void DatabaseSession::close() {
    m_dispatcher.reset();
    if (!m_context.db.isValid())
        return;
    m_context.db.close();
    m_context.db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}
