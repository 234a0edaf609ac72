#include "appserver/recalc/sqlitestatement.h"
#include "appserver/db/database.h"
#include "appserver/recalc/runsql.h"

#include <QSqlDriver>

#include <sqlite3.h>

SqliteStatement::SqliteStatement(const QSqlDatabase &db, const QString &sql)
    : m_db(*static_cast<sqlite3 *const *>(db.driver()->handle().constData())) {
    const QByteArray text = sql.toUtf8();
    const int result = sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &m_statement, nullptr);
    if (result != SQLITE_OK)
        fail(result, QString::fromUtf8(sqlite3_errmsg(m_db)));
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_statement);
}

int SqliteStatement::run(const QVariantList &values) {
    // The texts stay where they are until the step: reserved, the list never moves them.
    QList<QString> texts;
    texts.reserve(values.size());
    int result = SQLITE_OK;
    for (int i = 0; i < values.size() && result == SQLITE_OK; ++i) {
        const QVariant &value = values.at(i);
        switch (value.isNull() ? QMetaType::UnknownType : value.typeId()) {
        case QMetaType::UnknownType:
            result = sqlite3_bind_null(m_statement, i + 1);
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
            result = sqlite3_bind_int64(m_statement, i + 1, value.toLongLong());
            break;
        default:
            texts << value.toString();
            result = sqlite3_bind_text16(m_statement, i + 1, texts.last().utf16(),
                                         int(texts.last().size() * 2), SQLITE_STATIC);
        }
    }
    if (result == SQLITE_OK)
        result = sqlite3_step(m_statement);
    const QString message = result == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(m_db));
    const int changes = result == SQLITE_DONE ? sqlite3_changes(m_db) : 0;
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    if (result != SQLITE_DONE)
        fail(result, message);
    return changes;
}

void SqliteStatement::fail(int result, const QString &message) {
    const int code = result & 0xff;
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        throw RunBusy();
    throw DatabaseError(QStringLiteral("Erro no banco de dados: %1").arg(message));
}
