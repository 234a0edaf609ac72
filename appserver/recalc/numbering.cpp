#include "appserver/recalc/numbering.h"
#include "appserver/db/database.h"
#include "appserver/recalc/runsql.h"

namespace {

QString formatNumber(qint64 number) {
    return QStringLiteral("%1").arg(number, 12, 10, QLatin1Char('0'));
}

qint64 lockCounter(QSqlDatabase &db, const QString &company) {
    QSqlQuery create =
        prepareRun(db, QStringLiteral("INSERT INTO NUMLANCCTB (CDEMPRESA, NRULTLANCCTB) VALUES (?, 0)"
                                      " ON CONFLICT (CDEMPRESA) DO NOTHING"));
    execRun(create, {company});
    QSqlQuery read =
        prepareRun(db, QStringLiteral("SELECT NRULTLANCCTB FROM NUMLANCCTB WHERE CDEMPRESA = ?") +
                           (isPostgres(db) ? QStringLiteral(" FOR UPDATE") : QString()));
    execRun(read, {company});
    return nextRow(read) ? read.value(0).toLongLong() : 0;
}

// Numbers of the company's postings above the counter: none when every posting took its number from
// it, but a new number must not take one.
QSet<QString> numbersAbove(QSqlDatabase &db, const QString &company, qint64 last) {
    QSqlQuery query = selectRun(
        db,
        QStringLiteral("SELECT DISTINCT NRLANCCTB FROM LANCCONTABIL WHERE CDEMPRESA = ? AND NRLANCCTB > ?"),
        {company, formatNumber(last)});
    QSet<QString> numbers;
    while (nextRow(query))
        numbers.insert(query.value(0).toString());
    return numbers;
}

} // namespace

PostingNumbers::PostingNumbers(QSqlDatabase &db, const QString &company)
    : m_last(lockCounter(db, company))
    , m_usedAbove(numbersAbove(db, company, m_last)) {}

void PostingNumbers::assign(QList<Posting> &postings) {
    for (Posting &posting : postings) {
        const QString &previous = posting.previousNumber;
        posting.number = !previous.isEmpty() && !m_taken.contains(previous) ? previous : next();
        m_taken.insert(posting.number);
    }
}

QString PostingNumbers::next() {
    QString number;
    do
        number = formatNumber(++m_last);
    while (m_taken.contains(number) || m_usedAbove.contains(number));
    return number;
}

void saveLastNumber(QSqlDatabase &db, const QString &company, qint64 last) {
    QSqlQuery query =
        prepareRun(db, QStringLiteral("UPDATE NUMLANCCTB SET NRULTLANCCTB = ? WHERE CDEMPRESA = ?"));
    execRun(query, {last, company});
}
