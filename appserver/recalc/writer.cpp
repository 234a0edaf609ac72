#include "appserver/recalc/writer.h"
#include "appserver/db/database.h"
#include "appserver/recalc/batchinsert.h"
#include "appserver/recalc/boundrows.h"
#include "appserver/recalc/runsql.h"

#include <QHash>

namespace {

constexpr qsizetype rowsPerStatement = 5000;

const QStringList lineKey = {"CDEMPRESA", "NRLANCCTB", "NRSEQCTB"};
const QStringList lineOrigin = {"CDFILIAL", "NRLANCTONF", "NRSEQVENPAG", "NRPARCELAPAG", "NRSEQAJUPAG"};
const QStringList lineData = {"DTLANCCTB",  "CDCONTCTBL", "IDDEBCRED",     "VRLANCCTB",
                              "CDHISTPADR", "DSHISTCTB",  "IDLANCCTBCOME", "CDLANCCTBCOME",
                              "CDDOCUCONT", "CDOPERADOR", "DTHRGRAVACAO"};
const QStringList splitKey = {"CDEMPRESA", "NRLANCCTB", "NRSEQCTB", "NRSEQRAT"};
const QStringList splitData = {"CDFILIAL", "CDCENTCUST", "VRLANCCUST"};

// Runs `statement`, which reads the rows as the table N (COLUMNS), a bounded number of rows at a time.
void runOverRows(QSqlDatabase &db, const QStringList &columns, const QList<QVariantList> &rows,
                 const QString &statement) {
    for (qsizetype first = 0; first < rows.size(); first += rowsPerStatement) {
        const BoundRows bound =
            boundRows(db, QStringLiteral("N"), columns, rows.mid(first, rowsPerStatement));
        selectRun(db, QStringLiteral("WITH ") + bound.definition + u' ' + statement, bound.values);
    }
}

// A row written under the key of a stored row replaces it: its data columns take the new values. With
// `sameOrigin`, only a row of the same origin is replaced; one of another origin stays as it is and is
// not counted as written.
QString replaceStored(const QStringList &key, const QStringList &data, const QString &sameOrigin = {}) {
    QStringList set;
    for (const QString &column : data)
        set << QStringLiteral("%1 = excluded.%1").arg(column);
    return QStringLiteral("ON CONFLICT (%1) DO UPDATE SET %2%3")
        .arg(key.join(QStringLiteral(", ")), set.join(QStringLiteral(", ")),
             sameOrigin.isEmpty() ? QString() : QStringLiteral(" WHERE ") + sameOrigin);
}

QString sameLineOrigin() {
    QStringList same;
    for (const QString &column : lineOrigin.mid(0, 4))
        same << QStringLiteral("LANCCONTABIL.%1 = excluded.%1").arg(column);
    same << QStringLiteral("COALESCE(LANCCONTABIL.NRSEQAJUPAG, 0) = COALESCE(excluded.NRSEQAJUPAG, 0)");
    return same.join(QStringLiteral(" AND "));
}

// Writes the lines and splits of the new postings. A line that has the key of a stored line of the same
// origin rewrites it in place, and so does a split: a repeated run changes rows rather than deleting and
// inserting them again, which spares the database the cascades, the reference checks and the index
// churn of rows that come back under the same keys.
class PostingInserter {
public:
    PostingInserter(QSqlDatabase &db, const QString &company, const QString &operatorCode, qint64 now)
        : m_company(company)
        , m_operator(operatorCode)
        , m_now(now)
        , m_lines(db, QStringLiteral("LANCCONTABIL"), lineKey + lineOrigin + lineData, nullptr,
                  replaceStored(lineKey, lineData, sameLineOrigin()))
        , m_splits(db, QStringLiteral("RATEIOLANC"), splitKey + splitData, &m_lines,
                   replaceStored(splitKey, splitData)) {}

    void insert(const Posting &posting) {
        const QString kind = posting.isAdjustment() ? QStringLiteral("A") : QStringLiteral("P");
        const QString reference = posting.reference();
        const QVariant adjustment =
            posting.isAdjustment() ? QVariant(posting.adjustmentSequence) : QVariant();
        const QVariant history = posting.history.isEmpty() ? QVariant() : QVariant(posting.history);
        for (int i = 0; i < posting.lines.size(); ++i) {
            const PostingLine &line = posting.lines.at(i);
            m_lines.add({m_company, posting.number, i + 1, posting.key.branch, posting.key.entry,
                         posting.key.sequence, posting.key.instalment, adjustment, posting.day, line.account,
                         line.cents >= 0 ? QStringLiteral("D") : QStringLiteral("C"), qAbs(line.cents),
                         history, posting.historyText, kind, posting.supplier, reference, m_operator, m_now});
            for (int s = 0; s < line.splits.size(); ++s) {
                const Split &split = line.splits.at(s);
                m_splits.add({m_company, posting.number, i + 1, s + 1, split.branch, split.costCentre,
                              qAbs(split.cents)});
            }
        }
    }

    // Throws DatabaseError when a line met a stored line of another origin under its key: the run's
    // numbering never gives such a key, so the ledger is not what the run read.
    void finish() {
        m_splits.flush();
        m_lines.flush();
        if (m_lines.written() != m_lines.added())
            throw DatabaseError(QStringLiteral("Erro no banco de dados: um número de lançamento do recálculo "
                                               "já pertence a outro documento."));
    }

private:
    QString m_company, m_operator;
    qint64 m_now;
    BatchInsert m_lines, m_splits;
};

// The stored lines that the new postings do not write again: those of another company or under a key
// the instalment's new postings do not use for the same origin, and those with splits past the new
// line's (removed whole and written again). Postings are grouped by instalment, in its order.
QList<QVariantList> staleLines(const QString &company, const QList<Instalment> &instalments,
                               const QList<Posting> &postings) {
    QList<QVariantList> stale;
    qsizetype next = 0;
    for (const Instalment &instalment : instalments) {
        // (number, line) -> (adjustment, splits) of the instalment's new lines
        QHash<std::pair<QString, int>, std::pair<int, qsizetype>> written;
        for (qsizetype p = 0; p < instalment.postingCount(); ++p, ++next) {
            const Posting &posting = postings.at(next);
            for (int i = 0; i < posting.lines.size(); ++i)
                written.insert({posting.number, i + 1},
                               {posting.adjustmentSequence, posting.lines.at(i).splits.size()});
        }
        for (const StoredLine &line : instalment.storedLines) {
            const auto found = written.constFind({line.number, line.sequence});
            const bool rewritten = line.company == company && found != written.cend() &&
                                   found->first == line.adjustmentSequence && line.lastSplit <= found->second;
            if (!rewritten)
                stale << QVariantList{line.company, line.number, line.sequence};
        }
    }
    return stale;
}

// Removes stale lines; their splits go with them (ON DELETE CASCADE).
void deleteLines(QSqlDatabase &db, const QList<QVariantList> &lines) {
    runOverRows(db, lineKey, lines,
                QStringLiteral("DELETE FROM LANCCONTABIL WHERE (CDEMPRESA, NRLANCCTB, NRSEQCTB) IN"
                               " (SELECT CDEMPRESA, NRLANCCTB, CAST(NRSEQCTB AS INTEGER) FROM N)"));
}

// Marks the instalments accounted under the number of their own new posting and their adjustments with
// the numbers of theirs; a cancelled instalment has none and is left not accounted. Rows that already
// hold those values are left as they are.
void markInstalments(QSqlDatabase &db, const QList<Instalment> &instalments, const QList<Posting> &postings) {
    QList<QVariantList> marks, adjustmentMarks;
    qsizetype next = 0;
    for (const Instalment &instalment : instalments) {
        const InstalmentKey &key = instalment.key;
        const bool posted = instalment.postingCount() > 0;
        marks << QVariantList{key.branch,
                              key.entry,
                              key.sequence,
                              key.instalment,
                              posted ? QStringLiteral("S") : QStringLiteral("N"),
                              posted ? QVariant(postings.at(next).number) : QVariant()};
        for (qsizetype a = 0; a < instalment.adjustments.size(); ++a)
            adjustmentMarks << QVariantList{key.branch,
                                            key.entry,
                                            key.sequence,
                                            key.instalment,
                                            instalment.adjustments.at(a).sequence,
                                            posted ? QVariant(postings.at(next + 1 + a).number) : QVariant()};
        next += instalment.postingCount();
    }
    const QString sameKey =
        QStringLiteral(" WHERE %1.CDFILIAL = N.CDFILIAL AND %1.NRLANCTONF = N.NRLANCTONF"
                       " AND %1.NRSEQVENPAG = N.NRSEQVENPAG AND %1.NRPARCELAPAG = N.NRPARCELAPAG");
    runOverRows(
        db, {"CDFILIAL", "NRLANCTONF", "NRSEQVENPAG", "NRPARCELAPAG", "IDCTBLCTPAG", "NRLANCTBDOC"}, marks,
        QStringLiteral("UPDATE CONTAPAGAR SET IDCTBLCTPAG = N.IDCTBLCTPAG, NRLANCTBDOC = N.NRLANCTBDOC"
                       " FROM N") +
            sameKey.arg(QStringLiteral("CONTAPAGAR")) +
            QStringLiteral(" AND (CONTAPAGAR.IDCTBLCTPAG <> N.IDCTBLCTPAG"
                           " OR CONTAPAGAR.NRLANCTBDOC IS DISTINCT FROM N.NRLANCTBDOC)"));
    runOverRows(db, {"CDFILIAL", "NRLANCTONF", "NRSEQVENPAG", "NRPARCELAPAG", "NRSEQAJUPAG", "NRLCTBAJPAG"},
                adjustmentMarks,
                QStringLiteral("UPDATE AJCTPAGAR SET NRLCTBAJPAG = N.NRLCTBAJPAG FROM N") +
                    sameKey.arg(QStringLiteral("AJCTPAGAR")) +
                    QStringLiteral(" AND AJCTPAGAR.NRSEQAJUPAG = CAST(N.NRSEQAJUPAG AS INTEGER)"
                                   " AND AJCTPAGAR.NRLCTBAJPAG IS DISTINCT FROM N.NRLCTBAJPAG"));
}

// What the run changed of each instalment: postings are grouped by instalment, in its order.
QList<InstalmentChange> changesOf(const QList<Instalment> &instalments, const QList<Posting> &postings) {
    QList<InstalmentChange> changes;
    changes.reserve(instalments.size());
    qsizetype next = 0;
    for (const Instalment &instalment : instalments) {
        InstalmentChange change{instalment.key, instalment.previousNumber, QString(),
                                instalment.debitsBefore(), 0};
        for (qsizetype i = 0; i < instalment.postingCount(); ++i, ++next) {
            if (i == 0)
                change.numberAfter = postings.at(next).number;
            change.debitsAfter += postings.at(next).debits();
        }
        changes << change;
    }
    return changes;
}

} // namespace

QList<InstalmentChange> writePostings(QSqlDatabase &db, const QString &company, const QString &operatorCode,
                                      const QList<Instalment> &instalments, const QList<Posting> &postings,
                                      qint64 now) {
    deleteLines(db, staleLines(company, instalments, postings));
    PostingInserter inserter(db, company, operatorCode, now);
    for (const Posting &posting : postings)
        inserter.insert(posting);
    inserter.finish();
    markInstalments(db, instalments, postings);
    return changesOf(instalments, postings);
}
