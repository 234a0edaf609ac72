#include "appserver/recalc/writer.h"
#include "appserver/recalc/batchinsert.h"
#include "appserver/recalc/keybatches.h"
#include "appserver/recalc/runsql.h"

namespace {

// Statements over the instalments of a batch, K, each once for the whole batch.

// Removes their earlier postings; the apportionment goes with them (ON DELETE CASCADE).
const QString deleteEarlier =
    QStringLiteral("DELETE FROM LANCCONTABIL WHERE") + KeyBatch::among(QStringLiteral("LANCCONTABIL"));

// Marks them accounted under the number of their own new posting; a cancelled instalment has none
// and is left not accounted.
const QString markInstalments =
    QStringLiteral("UPDATE CONTAPAGAR SET IDCTBLCTPAG = CASE WHEN IDSTATPAG = 'C' THEN 'N' ELSE 'S' END,"
                   " NRLANCTBDOC = (SELECT MIN(L.NRLANCCTB) FROM LANCCONTABIL L"
                   " WHERE L.CDFILIAL = CONTAPAGAR.CDFILIAL AND L.NRLANCTONF = CONTAPAGAR.NRLANCTONF"
                   " AND L.NRSEQVENPAG = CONTAPAGAR.NRSEQVENPAG AND L.NRPARCELAPAG = CONTAPAGAR.NRPARCELAPAG"
                   " AND L.NRSEQAJUPAG IS NULL) WHERE") +
    KeyBatch::among(QStringLiteral("CONTAPAGAR"));

// Gives each of their adjustments the number of its new posting (none for a cancelled instalment's).
const QString markAdjustments =
    QStringLiteral("UPDATE AJCTPAGAR SET NRLCTBAJPAG = (SELECT MIN(L.NRLANCCTB) FROM LANCCONTABIL L"
                   " WHERE L.CDFILIAL = AJCTPAGAR.CDFILIAL AND L.NRLANCTONF = AJCTPAGAR.NRLANCTONF"
                   " AND L.NRSEQVENPAG = AJCTPAGAR.NRSEQVENPAG AND L.NRPARCELAPAG = AJCTPAGAR.NRPARCELAPAG"
                   " AND L.NRSEQAJUPAG = AJCTPAGAR.NRSEQAJUPAG) WHERE") +
    KeyBatch::among(QStringLiteral("AJCTPAGAR"));

void runOverBatches(QSqlDatabase &db, const QList<KeyBatch> &batches, const QString &statement) {
    for (const KeyBatch &batch : batches)
        selectRun(db, batch.with + statement, batch.values);
}

class PostingInserter {
public:
    PostingInserter(QSqlDatabase &db, const QString &company, const QString &operatorCode, qint64 now)
        : m_company(company)
        , m_operator(operatorCode)
        , m_now(now)
        , m_lines(db, QStringLiteral("LANCCONTABIL"),
                  {"CDEMPRESA", "NRLANCCTB", "NRSEQCTB", "DTLANCCTB", "CDCONTCTBL", "IDDEBCRED", "VRLANCCTB",
                   "CDHISTPADR", "DSHISTCTB", "IDLANCCTBCOME", "CDLANCCTBCOME", "CDDOCUCONT", "CDFILIAL",
                   "NRLANCTONF", "NRSEQVENPAG", "NRPARCELAPAG", "NRSEQAJUPAG", "CDOPERADOR", "DTHRGRAVACAO"})
        , m_splits(db, QStringLiteral("RATEIOLANC"),
                   {"CDEMPRESA", "NRLANCCTB", "NRSEQCTB", "NRSEQRAT", "CDFILIAL", "CDCENTCUST", "VRLANCCUST"},
                   &m_lines) {}

    void insert(const Posting &posting) {
        const QString kind = posting.isAdjustment() ? QStringLiteral("A") : QStringLiteral("P");
        const QString reference = posting.reference();
        const QVariant adjustment =
            posting.isAdjustment() ? QVariant(posting.adjustmentSequence) : QVariant();
        const QVariant history = posting.history.isEmpty() ? QVariant() : QVariant(posting.history);
        for (int i = 0; i < posting.lines.size(); ++i) {
            const PostingLine &line = posting.lines.at(i);
            m_lines.add({m_company, posting.number, i + 1, posting.day, line.account,
                         line.cents >= 0 ? QStringLiteral("D") : QStringLiteral("C"), qAbs(line.cents),
                         history, posting.historyText, kind, posting.supplier, reference, posting.key.branch,
                         posting.key.entry, posting.key.sequence, posting.key.instalment, adjustment,
                         m_operator, m_now});
            for (int s = 0; s < line.splits.size(); ++s) {
                const Split &split = line.splits.at(s);
                m_splits.add({m_company, posting.number, i + 1, s + 1, split.branch, split.costCentre,
                              qAbs(split.cents)});
            }
        }
    }

    void finish() { m_splits.flush(); }

private:
    QString m_company, m_operator;
    qint64 m_now;
    BatchInsert m_lines, m_splits;
};

// What the run changed of each instalment: postings are grouped by instalment, in its order.
QList<InstalmentChange> changesOf(const QList<Instalment> &instalments, const QList<Posting> &postings) {
    QList<InstalmentChange> changes;
    changes.reserve(instalments.size());
    qsizetype next = 0;
    for (const Instalment &instalment : instalments) {
        InstalmentChange change{instalment.key, instalment.previousNumber, QString(), instalment.debitsBefore,
                                0};
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
    QList<InstalmentKey> keys;
    keys.reserve(instalments.size());
    for (const Instalment &instalment : instalments)
        keys << instalment.key;
    const QList<KeyBatch> batches = keyBatches(db, keys);
    runOverBatches(db, batches, deleteEarlier);
    PostingInserter inserter(db, company, operatorCode, now);
    for (const Posting &posting : postings)
        inserter.insert(posting);
    inserter.finish();
    runOverBatches(db, batches, markInstalments);
    runOverBatches(db, batches, markAdjustments);
    return changesOf(instalments, postings);
}
