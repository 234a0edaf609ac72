#include "appserver/recalc/writer.h"
#include "appserver/recalc/batchinsert.h"
#include "appserver/recalc/runsql.h"

#include <span>

namespace {

const QString originWhere =
    QStringLiteral(" WHERE CDFILIAL = ? AND NRLANCTONF = ? AND NRSEQVENPAG = ? AND NRPARCELAPAG = ?");

class PostingWriter {
public:
    PostingWriter(QSqlDatabase &db, const QString &company, const QString &operatorCode, qint64 now)
        : m_company(company)
        , m_operator(operatorCode)
        , m_now(now)
        , m_delete(prepareRun(db, QStringLiteral("DELETE FROM LANCCONTABIL") + originWhere +
                                      QStringLiteral(" RETURNING IDDEBCRED, VRLANCCTB")))
        , m_accounted(prepareRun(
              db, QStringLiteral("UPDATE CONTAPAGAR SET IDCTBLCTPAG = 'S', NRLANCTBDOC = ?") + originWhere))
        , m_adjustment(prepareRun(db, QStringLiteral("UPDATE AJCTPAGAR SET NRLCTBAJPAG = ?") + originWhere +
                                          QStringLiteral(" AND NRSEQAJUPAG = ?")))
        , m_unaccounted(
              prepareRun(db, QStringLiteral("UPDATE CONTAPAGAR SET IDCTBLCTPAG = 'N', NRLANCTBDOC = NULL") +
                                 originWhere))
        , m_adjustmentsUnposted(
              prepareRun(db, QStringLiteral("UPDATE AJCTPAGAR SET NRLCTBAJPAG = NULL") + originWhere))
        , m_lines(db, QStringLiteral("LANCCONTABIL"),
                  {"CDEMPRESA", "NRLANCCTB", "NRSEQCTB", "DTLANCCTB", "CDCONTCTBL", "IDDEBCRED", "VRLANCCTB",
                   "CDHISTPADR", "DSHISTCTB", "IDLANCCTBCOME", "CDLANCCTBCOME", "CDDOCUCONT", "CDFILIAL",
                   "NRLANCTONF", "NRSEQVENPAG", "NRPARCELAPAG", "NRSEQAJUPAG", "CDOPERADOR", "DTHRGRAVACAO"})
        , m_splits(db, QStringLiteral("RATEIOLANC"),
                   {"CDEMPRESA", "NRLANCCTB", "NRSEQCTB", "NRSEQRAT", "CDFILIAL", "CDCENTCUST", "VRLANCCUST"},
                   &m_lines) {}

    // Replaces the postings of one instalment by `postings` (its own first, then its adjustments'); a
    // cancelled instalment has none and is left not accounted.
    InstalmentChange replace(const Instalment &instalment, std::span<const Posting> postings) {
        InstalmentChange change{instalment.key, instalment.previousNumber,
                                postings.empty() ? QString() : postings.front().number, 0, 0};
        execRun(m_delete, instalment.key.values());
        while (nextRow(m_delete))
            if (m_delete.value(0).toString() == QLatin1String("D"))
                change.debitsBefore += m_delete.value(1).toLongLong();
        m_delete.finish();
        for (const Posting &posting : postings) {
            insert(posting);
            change.debitsAfter += posting.debits();
            if (posting.isAdjustment())
                execRun(m_adjustment, QVariantList{posting.number} + instalment.key.values() +
                                          QVariantList{posting.adjustmentSequence});
        }
        if (postings.empty()) {
            execRun(m_unaccounted, instalment.key.values());
            execRun(m_adjustmentsUnposted, instalment.key.values());
        } else {
            execRun(m_accounted, QVariantList{change.numberAfter} + instalment.key.values());
        }
        return change;
    }

    void finish() { m_splits.flush(); }

private:
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

    QString m_company, m_operator;
    qint64 m_now;
    QSqlQuery m_delete, m_accounted, m_adjustment, m_unaccounted, m_adjustmentsUnposted;
    BatchInsert m_lines, m_splits;
};

} // namespace

QList<InstalmentChange> writePostings(QSqlDatabase &db, const QString &company, const QString &operatorCode,
                                      const QList<Instalment> &instalments, const QList<Posting> &postings,
                                      qint64 now) {
    PostingWriter writer(db, company, operatorCode, now);
    QList<InstalmentChange> changes;
    changes.reserve(instalments.size());
    qsizetype first = 0;
    for (const Instalment &instalment : instalments) {
        const qsizetype count = instalment.postingCount();
        changes << writer.replace(instalment, std::span<const Posting>(postings).subspan(first, count));
        first += count;
    }
    writer.finish();
    return changes;
}
