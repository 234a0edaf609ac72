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

} // namespace

PostingNumbers::PostingNumbers(QSqlDatabase &db, const QString &company)
    : m_company(company)
    , m_last(lockCounter(db, company))
    , m_usedElsewhere(prepareRun(
          db, QStringLiteral("SELECT 1 FROM LANCCONTABIL WHERE CDEMPRESA = ? AND NRLANCCTB = ? AND NOT ("
                             "CDFILIAL = ? AND NRLANCTONF = ? AND NRSEQVENPAG = ? AND NRPARCELAPAG = ?"
                             " AND COALESCE(NRSEQAJUPAG, 0) = ?)"))) {}

void PostingNumbers::assign(QList<Posting> &postings) {
    for (Posting &posting : postings) {
        posting.number = !posting.previousNumber.isEmpty() && isFree(posting.previousNumber, posting)
                             ? posting.previousNumber
                             : next(posting);
        m_taken.insert(posting.number);
    }
}

bool PostingNumbers::isFree(const QString &number, const Posting &posting) {
    if (m_taken.contains(number))
        return false;
    execRun(m_usedElsewhere, {m_company, number, posting.key.branch, posting.key.entry, posting.key.sequence,
                              posting.key.instalment, posting.adjustmentSequence});
    const bool used = nextRow(m_usedElsewhere);
    m_usedElsewhere.finish();
    return !used;
}

QString PostingNumbers::next(const Posting &posting) {
    QString number;
    do
        number = formatNumber(++m_last);
    while (!isFree(number, posting));
    return number;
}

void saveLastNumber(QSqlDatabase &db, const QString &company, qint64 last) {
    QSqlQuery query =
        prepareRun(db, QStringLiteral("UPDATE NUMLANCCTB SET NRULTLANCCTB = ? WHERE CDEMPRESA = ?"));
    execRun(query, {last, company});
}
