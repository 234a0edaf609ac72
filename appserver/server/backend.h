#pragma once

#include "appserver/server/module.h"

#include <QSqlDatabase>

#include <functional>

// What the server needs of the database side: a new database session for a session of the pool, the
// operators' password hashes and the modules it offers.
struct ServerBackend {
    // Opens a new database connection under the given Qt connection name; throws std::exception.
    std::function<QSqlDatabase(const QString &connectionName)> openDatabase;
    // The stored password hash of an active operator, empty when there is none; throws std::exception.
    std::function<QString(QSqlDatabase &db, const QString &operatorCode)> passwordHash;
    // Stores a new hash of the operator's password; throws std::exception.
    std::function<void(QSqlDatabase &db, const QString &operatorCode, const QString &hash)>
        replacePasswordHash;
    const ModuleRegistry *modules = nullptr;
};
