#pragma once

#include <QStringList>

// One step of the schema's history: its statements use %SERIAL% where the dialects differ; what one
// dialect says otherwise goes in that dialect's own list, run after the common statements.
struct Migration {
    int version;
    QString description;
    QStringList statements;
    QStringList sqliteStatements = {};
    QStringList postgresStatements = {};
};

QStringList schemaV1();
Migration adjustmentNumbersFromOne(int version);
QList<Migration> allMigrations();
