#pragma once

#include "appserver/server/module.h"

#include <QSqlDatabase>

#include <functional>

// What the server needs of the database side: a new database session for a session of the pool, the
// operators' passwords and the modules it offers.
struct ServerBackend {
    // Opens a new database connection under the given Qt connection name; throws std::exception.
    std::function<QSqlDatabase(const QString &connectionName)> openDatabase;
    std::function<bool(QSqlDatabase &db, const QString &operatorCode, const QString &password)> checkOperator;
    const ModuleRegistry *modules = nullptr;
};
