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
                         BatchInsert *before)
    : m_db(db)
    , m_postgres(isPostgres(db))
    , m_table(table)
    , m_columns(columns)
    , m_before(before)
    , m_maxRows(m_postgres ? maxPostgresRows : qMax(1, maxSqliteValues / int(columns.size()))) {}

void BatchInsert::add(const QVariantList &row) {
    m_values += row;
    if (++m_rows == m_maxRows)
        flush();
}

void BatchInsert::flush() {
    if (m_rows == 0)
        return;
    if (m_before)
        m_before->flush();
    if (m_postgres)
        flushPostgres();
    else
        flushSqlite();
    m_values.clear();
    m_rows = 0;
}

void BatchInsert::flushSqlite() {
    const QString rowMarks = u'(' + QStringList(m_columns.size(), QStringLiteral("?")).join(u',') + u')';
    const QString key = QString::number(m_rows);
    QSqlQuery &insert = m_statements.contains(key)
                            ? m_statements[key]
                            : statement(key, QStringLiteral("INSERT INTO %1 (%2) VALUES ")
                                                     .arg(m_table, m_columns.join(QStringLiteral(", "))) +
                                                 QStringList(m_rows, rowMarks).join(u','));
    execRun(insert, m_values);
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
    QSqlQuery &insert =
        m_statements.contains(key)
            ? m_statements[key]
            : statement(key, QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM unnest(%4) AS U (%5)")
                                 .arg(m_table, m_columns.join(QStringLiteral(", ")),
                                      selected.join(QStringLiteral(", ")),
                                      unnested.join(QStringLiteral(", ")), named.join(QStringLiteral(", "))));
    execRun(insert, arrays);
}

QSqlQuery &BatchInsert::statement(const QString &key, const QString &sql) {
    return *m_statements.insert(key, prepareRun(m_db, sql));
}
