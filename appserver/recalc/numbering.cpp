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

constexpr qsizetype postingsPerBatch = 20;

// The earlier numbers of `postings` that a posting of another origin uses, 20 postings a statement,
// each looked up by the postings' key (P first: SQLite loops in the order of a CROSS JOIN).
QSet<QString> usedByOthers(QSqlDatabase &db, const QString &company, const QList<Posting> &postings) {
    QList<const Posting *> keeping;
    for (const Posting &posting : postings)
        if (!posting.previousNumber.isEmpty())
            keeping << &posting;
    QSet<QString> used;
    for (qsizetype first = 0; first < keeping.size(); first += postingsPerBatch) {
        const QList<const Posting *> batch = keeping.mid(first, postingsPerBatch);
        QVariantList values;
        for (const Posting *posting : batch)
            values << posting->previousNumber << posting->key.values() << posting->adjustmentSequence;
        QSqlQuery query = selectRun(
            db,
            QStringLiteral(
                "WITH P (NR, CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, NRSEQAJUPAG) AS (VALUES ") +
                QStringList(batch.size(), QStringLiteral("(?, ?, ?, ?, ?, ?)")).join(QStringLiteral(", ")) +
                QStringLiteral(") SELECT DISTINCT P.NR FROM P CROSS JOIN LANCCONTABIL L WHERE L.CDEMPRESA = ?"
                               " AND L.NRLANCCTB = P.NR AND NOT (L.CDFILIAL = P.CDFILIAL"
                               " AND L.NRLANCTONF = P.NRLANCTONF AND L.NRSEQVENPAG = P.NRSEQVENPAG"
                               " AND L.NRPARCELAPAG = P.NRPARCELAPAG"
                               " AND COALESCE(L.NRSEQAJUPAG, 0) = CAST(P.NRSEQAJUPAG AS INTEGER))"),
            values << company);
        while (nextRow(query))
            used.insert(query.value(0).toString());
    }
    return used;
}

} // namespace

PostingNumbers::PostingNumbers(QSqlDatabase &db, const QString &company)
    : m_db(db)
    , m_company(company)
    , m_last(lockCounter(db, company))
    , m_usedAbove(numbersAbove(db, company, m_last)) {}

void PostingNumbers::assign(QList<Posting> &postings) {
    const QSet<QString> usedElsewhere = usedByOthers(m_db, m_company, postings);
    for (Posting &posting : postings) {
        const QString &previous = posting.previousNumber;
        posting.number =
            !previous.isEmpty() && !m_taken.contains(previous) && !usedElsewhere.contains(previous) ? previous
                                                                                                    : next();
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
