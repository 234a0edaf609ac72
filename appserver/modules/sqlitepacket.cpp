#include "appserver/modules/sqlitepacket.h"
#include "appserver/db/database.h"

#include <QSqlDriver>

#include <sqlite3.h>

#include <memory>

namespace {

sqlite3 *sqliteHandle(const QSqlDatabase &db) {
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

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

} // namespace

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
    if (sqlite3_column_count(prepared) != builder.columnCount())
        throw DatabaseError(
            QStringLiteral("Erro no banco de dados: a consulta não tem as colunas do pacote."));
    for (int i = 0; i < values.size(); ++i)
        if (bind(prepared, i + 1, values.at(i)) != SQLITE_OK)
            fail(handle);
    const int columns = builder.columnCount();
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(prepared)) == SQLITE_ROW) {
        for (int col = 0; col < columns; ++col)
            addCell(builder, prepared, col);
        builder.endRow();
    }
    if (step != SQLITE_DONE)
        fail(handle);
    return std::move(builder).packet();
}
