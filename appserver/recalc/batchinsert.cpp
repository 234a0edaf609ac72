#include "appserver/recalc/batchinsert.h"
#include "appserver/db/database.h"
#include "appserver/recalc/boundrows.h"
#include "appserver/recalc/runsql.h"

namespace {

bool isInteger(const QVariant &value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

} // namespace

BatchInsert::BatchInsert(QSqlDatabase &db, const QString &table, const QStringList &columns,
                         BatchInsert *before, const QString &onConflict)
    : m_db(db)
    , m_table(table)
    , m_columns(columns)
    , m_before(before)
    , m_onConflict(onConflict) {
    if (!isPostgres(db))
        m_sqlite = std::make_unique<SqliteStatement>(
            db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) %4")
                    .arg(table, columns.join(QStringLiteral(", ")),
                         QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")),
                         onConflict));
}

BatchInsert::~BatchInsert() = default;

void BatchInsert::add(const QVariantList &row) {
    ++m_added;
    if (m_sqlite) {
        m_written += m_sqlite->run(row);
        return;
    }
    m_values += row;
    if (++m_rows == maxPostgresRows)
        flush();
}

void BatchInsert::flush() {
    if (m_rows == 0)
        return;
    if (m_before)
        m_before->flush();
    flushPostgres();
    m_values.clear();
    m_rows = 0;
}

// A column whose values are all null in this batch is inserted as NULL (an untyped NULL takes the
// column's type); the others are bound as arrays of BIGINT for integers, of TEXT otherwise, which
// PostgreSQL assigns to the column's own type.
void BatchInsert::flushPostgres() {
    const int columns = int(m_columns.size());
    QVariantList arrays;
    QStringList selected, unnested, named;
    QString key;
    for (int c = 0; c < columns; ++c) {
        QVariantList column;
        column.reserve(m_rows);
        bool integer = false, any = false;
        for (int row = 0; row < m_rows; ++row) {
            const QVariant &value = m_values.at(row * columns + c);
            column << value;
            if (!value.isNull()) {
                any = true;
                integer = isInteger(value);
            }
        }
        if (!any) {
            selected << QStringLiteral("NULL");
            key += u'n';
            continue;
        }
        arrays << postgresArray(column);
        named << QStringLiteral("C%1").arg(c);
        selected << named.last();
        unnested << (integer ? QStringLiteral("CAST(? AS BIGINT[])") : QStringLiteral("CAST(? AS TEXT[])"));
        key += integer ? u'i' : u't';
    }
    auto insert = m_statements.find(key);
    if (insert == m_statements.end())
        insert = m_statements.insert(
            key, prepareRun(m_db,
                            QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM unnest(%4) AS U (%5) %6")
                                .arg(m_table, m_columns.join(QStringLiteral(", ")),
                                     selected.join(QStringLiteral(", ")), unnested.join(QStringLiteral(", ")),
                                     named.join(QStringLiteral(", ")), m_onConflict)));
    execRun(*insert, arrays);
    m_written += insert->numRowsAffected();
}
