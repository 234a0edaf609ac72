#include "appserver/modules/sqlitepacket.h"
#include "appserver/db/database.h"

#include <QSqlDriver>

#include <sqlite3.h>

#include <memory>

namespace {

struct Finalize {
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, Finalize>;

[[noreturn]] void fail(sqlite3 *handle) {
    throw DatabaseError(
        QStringLiteral("Erro no banco de dados: %1").arg(QString::fromUtf8(sqlite3_errmsg(handle))));
}

// Values are bound as Qt's driver binds them: integers as integers, doubles as doubles, anything else
// as its text.
int bind(sqlite3_stmt *statement, int index, const QVariant &value) {
    if (value.isNull())
        return sqlite3_bind_null(statement, index);
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return sqlite3_bind_int64(statement, index, value.toLongLong());
    case QMetaType::Double:
        return sqlite3_bind_double(statement, index, value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob64(statement, index, bytes.constData(), sqlite3_uint64(bytes.size()),
                                   SQLITE_TRANSIENT);
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text64(statement, index, text.constData(), sqlite3_uint64(text.size()),
                                   SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    }
}

void addCell(PacketBuilder &builder, sqlite3_stmt *statement, int col) {
    switch (sqlite3_column_type(statement, col)) {
    case SQLITE_NULL:
        builder.addNull(col);
        break;
    case SQLITE_INTEGER:
        builder.addInteger(col, sqlite3_column_int64(statement, col));
        break;
    case SQLITE_FLOAT:
        builder.addReal(col, sqlite3_column_double(statement, col));
        break;
    default: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, col));
        builder.addText(col, QByteArrayView(text, sqlite3_column_bytes(statement, col)));
        break;
    }
    }
}

// Reads every row of a prepared statement with its values bound into the builder's columns.
DataPacket readPacket(sqlite3 *handle, sqlite3_stmt *statement, PacketBuilder &&builder) {
    if (sqlite3_column_count(statement) != builder.columnCount())
        throw DatabaseError(
            QStringLiteral("Erro no banco de dados: a consulta não tem as colunas do pacote."));
    const int columns = builder.columnCount();
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int col = 0; col < columns; ++col)
            addCell(builder, statement, col);
        builder.endRow();
    }
    if (step != SQLITE_DONE)
        fail(handle);
    return std::move(builder).packet();
}

void bindAll(sqlite3 *handle, sqlite3_stmt *statement, const QVariantList &values) {
    for (int i = 0; i < values.size(); ++i)
        if (bind(statement, i + 1, values.at(i)) != SQLITE_OK)
            fail(handle);
}

QVariant cellValue(sqlite3_stmt *statement, int col) {
    switch (sqlite3_column_type(statement, col)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(statement, col));
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement, col);
    default:
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, col)),
                                 sqlite3_column_bytes(statement, col));
    }
}

// Leaves a kept statement ready for its next use, whatever happened to this one.
struct Reset {
    sqlite3_stmt *statement;
    ~Reset() { sqlite3_reset(statement); }
};

} // namespace

sqlite3 *sqliteHandle(const QSqlDatabase &db) {
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

std::optional<DataPacket> sqlitePacket(QSqlDatabase &db, const QString &sql, const QVariantList &values,
                                       PacketBuilder &&builder) {
    sqlite3 *handle = sqliteHandle(db);
    if (!handle)
        return std::nullopt;
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *prepared = nullptr;
    if (sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &prepared, nullptr) != SQLITE_OK)
        fail(handle);
    const Statement statement(prepared);
    bindAll(handle, prepared, values);
    return readPacket(handle, prepared, std::move(builder));
}

SqliteStatements::~SqliteStatements() {
    for (sqlite3_stmt *statement : std::as_const(m_statements))
        sqlite3_finalize(statement);
}

sqlite3_stmt *SqliteStatements::prepared(const QString &sql, const QVariantList &values) {
    sqlite3_stmt *&statement = m_statements[sql];
    if (!statement) {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v3(m_handle, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT,
                               &statement, nullptr) != SQLITE_OK) {
            m_statements.remove(sql);
            fail(m_handle);
        }
    }
    bindAll(m_handle, statement, values);
    return statement;
}

DataPacket SqliteStatements::packet(const QString &sql, const QVariantList &values, PacketBuilder &&builder) {
    sqlite3_stmt *statement = prepared(sql, values);
    const Reset reset{statement};
    return readPacket(m_handle, statement, std::move(builder));
}

QVariantList SqliteStatements::firstRow(const QString &sql, const QVariantList &values) {
    sqlite3_stmt *statement = prepared(sql, values);
    const Reset reset{statement};
    const int step = sqlite3_step(statement);
    if (step == SQLITE_DONE)
        return {};
    if (step != SQLITE_ROW)
        fail(m_handle);
    QVariantList row;
    const int columns = sqlite3_column_count(statement);
    row.reserve(columns);
    for (int col = 0; col < columns; ++col)
        row.append(cellValue(statement, col));
    return row;
}
