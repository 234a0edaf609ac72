#pragma once

#include "appserver/server/backend.h"
#include "appserver/server/dispatch.h"

#include "framework/net/wire.h"

#include <memory>

// One database session of the pool, used by one thread at a time (the one that borrowed it), with the module
// instances (and their prepared statements) of the calls it ran. It opens on first use, so a server nobody
// signed in to holds no session, and a session the database ended is replaced.
class DatabaseSession {
public:
    DatabaseSession(int id, const ServerBackend &backend);
    ~DatabaseSession();
    DatabaseSession(const DatabaseSession &) = delete;
    DatabaseSession &operator=(const DatabaseSession &) = delete;

    // The stored password hash of an active operator, empty when there is none; and its replacement.
    // Both throw std::exception when the database cannot be reached.
    QString passwordHash(const QString &operatorCode);
    void replacePasswordHash(const QString &operatorCode, const QString &hash);
    // Runs one call of the connection on behalf of its operator; returns the answer to send. Empties
    // `request`.
    Wire::Message call(Wire::Message &request, const QString &operatorCode, int connectionId);

private:
    // Opens the session, or replaces one the database ended, before anything of a call runs.
    void ensureOpen();
    // Closes a session the database ended, so that the next use opens a new one.
    void replaceIfEnded();
    void close();

    int m_id;
    ServerBackend m_backend;
    QString m_connectionName;
    CallContext m_context;
    std::unique_ptr<Dispatcher> m_dispatcher;
};
