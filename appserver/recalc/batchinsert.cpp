#include "appserver/recalc/batchinsert.h"
#include "appserver/recalc/runsql.h"

BatchInsert::BatchInsert(QSqlDatabase &db, const QString &table, const QStringList &columns,
                         BatchInsert *before)
    : m_db(db)
    , m_head(QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(table, columns.join(QStringLiteral(", "))))
    , m_rowMarks(u'(' + QStringList(columns.size(), QStringLiteral("?")).join(u',') + u')')
    , m_before(before)
    , m_maxRows(qMax(1, maxValues / int(columns.size()))) {}

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
    execRun(statement(m_rows), m_values);
    m_values.clear();
    m_rows = 0;
}

QSqlQuery &BatchInsert::statement(int rows) {
    auto found = m_statements.find(rows);
    if (found == m_statements.end())
        found =
            m_statements.insert(rows, prepareRun(m_db, m_head + QStringList(rows, m_rowMarks).join(u',')));
    return *found;
}
