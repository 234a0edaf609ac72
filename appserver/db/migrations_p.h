#pragma once

#include <QStringList>

// One step of the schema's history: its statements use %SERIAL% where the dialects differ.
struct Migration {
    int version;
    QString description;
    QStringList statements;
};

QStringList schemaV1();
QList<Migration> allMigrations();
