#include "appserver/recalc/instalments.h"
#include "appserver/db/database.h"
#include "appserver/recalc/keybatches.h"
#include "appserver/recalc/runsql.h"
#include "appserver/server/module.h"

#include <QSet>

namespace {

const QString keyWhere =
    QStringLiteral(" WHERE C.CDFILIAL = ? AND C.NRLANCTONF = ? AND C.NRSEQVENPAG = ? AND C.NRPARCELAPAG = ?");
const QString keyColumns = QStringLiteral("C.CDFILIAL, C.NRLANCTONF, C.NRSEQVENPAG, C.NRPARCELAPAG");

InstalmentKey rowKey(const QSqlQuery &query) {
    return {query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
            query.value(3).toString()};
}

// Reads the instalments a batch of keys at a time: one statement for the instalments, one for their
// adjustments and one for their rules per batch.
class InstalmentReader {
public:
    InstalmentReader(QSqlDatabase &db, const Ledger &ledger)
        : m_db(db)
        , m_company(ledger.company)
        , m_period{ledger.periodStart, ledger.periodEnd}
        , m_earlier(prepareRun(
              db,
              QStringLiteral("SELECT C.NRLANCCTB, C.NRSEQAJUPAG, C.DTLANCCTB, C.CDCONTCTBL, C.IDDEBCRED,"
                             " C.VRLANCCTB, C.CDHISTPADR, C.DSHISTCTB, C.CDLANCCTBCOME FROM LANCCONTABIL C") +
                  keyWhere + QStringLiteral(" ORDER BY C.NRLANCCTB, C.NRSEQCTB"))) {}

    // Appends the instalments of the batch in its key order.
    void read(const KeyBatch &batch, QList<Instalment> &instalments) {
        QHash<InstalmentKey, Instalment> found = readOwn(batch);
        readAdjustments(batch, found);
        readRules(batch, found);
        readStoredLines(batch, found);
        for (const InstalmentKey &key : batch.keys) {
            const auto it = found.find(key);
            if (it == found.end())
                throw ServerFailure(
                    QStringLiteral(
                        "A conta a pagar %1 não existe; atualize a lista e marque as contas novamente.")
                        .arg(key.text()));
            it->key = key;
            if (it->cancelled && it->postedOutsidePeriod)
                readEarlierPostings(*it);
            instalments << std::move(*it);
        }
    }

private:
    QHash<InstalmentKey, Instalment> readOwn(const KeyBatch &batch) {
        QSqlQuery query = selectRun(
            m_db,
            batch.with + QStringLiteral("SELECT ") + keyColumns +
                QStringLiteral(", F.CDEMPRESA, C.CDFILILANC, C.CDTPCTPAGAR, N.CDFORNECED, S.NMRAZSOCFORN,"
                               " S.CDCONTFORN, N.NRNOTAFISC, N.CDSERIEENTR, N.DTENTRSAID, C.VRATUAPAG,"
                               " C.NRLANCTBDOC, C.IDSTATPAG, ") +
                numberTaken(QStringLiteral("C.NRLANCTBDOC"), QStringLiteral("0")) +
                QStringLiteral(" FROM K CROSS JOIN CONTAPAGAR C"
                               " JOIN NOTAFISCAL N ON N.CDFILIAL = C.CDFILIAL AND N.NRLANCTONF = C.NRLANCTONF"
                               " JOIN FORNECEDOR S ON S.CDFORNECED = N.CDFORNECED"
                               " JOIN FILIAL F ON F.CDFILIAL = C.CDFILIAL WHERE") +
                KeyBatch::matches(QStringLiteral("C")),
            batch.values + QVariantList{m_company});
        QHash<InstalmentKey, Instalment> found;
        found.reserve(batch.keys.size());
        while (nextRow(query)) {
            const InstalmentKey key = rowKey(query);
            if (query.value(4).toString() != m_company)
                throw ServerFailure(QStringLiteral("A conta a pagar %1 não pertence à empresa %2.")
                                        .arg(key.text(), m_company));
            Instalment &instalment = found[key];
            instalment.postingBranch = shared(query.value(5));
            instalment.accountType = shared(query.value(6));
            instalment.supplier = shared(query.value(7));
            instalment.supplierName = shared(query.value(8));
            instalment.supplierAccount = shared(query.value(9));
            instalment.document = query.value(10).toString();
            instalment.series = shared(query.value(11));
            instalment.entryDay = query.value(12).toLongLong();
            instalment.cents = query.value(13).toLongLong();
            instalment.previousNumber = query.value(14).toString();
            instalment.cancelled = query.value(15).toString() == QLatin1String("C");
            instalment.previousNumberTaken = query.value(16).toBool();
        }
        return found;
    }

    // The rows of `table` (alias C) of the batch's instalments: their key, then `columns`; with `order`,
    // in key order and then `order`.
    QSqlQuery readRowsOf(const KeyBatch &batch, const QString &table, const QString &columns,
                         const QString &order, const QVariantList &more = {}) {
        return selectRun(
            m_db,
            batch.with +
                QStringLiteral("SELECT %1, %2 FROM K CROSS JOIN %3 C WHERE").arg(keyColumns, columns, table) +
                KeyBatch::matches(QStringLiteral("C")) +
                (order.isEmpty() ? QString() : QStringLiteral(" ORDER BY %1, %2").arg(keyColumns, order)),
            batch.values + more);
    }

    // Whether a posting of another origin (not this row's instalment with adjustment `adjustment`, 0 for
    // its own posting) uses the number in `column`: the run must then give the posting a new number.
    static QString numberTaken(const QString &column, const QString &adjustment) {
        return QStringLiteral("%1 IS NOT NULL AND EXISTS (SELECT 1 FROM LANCCONTABIL L WHERE L.CDEMPRESA = ?"
                              " AND L.NRLANCCTB = %1 AND NOT (L.CDFILIAL = C.CDFILIAL"
                              " AND L.NRLANCTONF = C.NRLANCTONF AND L.NRSEQVENPAG = C.NRSEQVENPAG"
                              " AND L.NRPARCELAPAG = C.NRPARCELAPAG AND COALESCE(L.NRSEQAJUPAG, 0) = %2))")
            .arg(column, adjustment);
    }

    // An adjustment numbered 0 (kept from before the schema refused it) would pass for the instalment's
    // own posting: the run is refused until it is renumbered.
    void readAdjustments(const KeyBatch &batch, QHash<InstalmentKey, Instalment> &found) {
        QSqlQuery query =
            readRowsOf(batch, QStringLiteral("AJCTPAGAR"),
                       QStringLiteral("C.NRSEQAJUPAG, C.DTAJUSTEPAG, C.CDAJUCTPAG, C.DSAJUSTEPAG,"
                                      " C.VRAJUSTEPAG, C.NRLCTBAJPAG, ") +
                           numberTaken(QStringLiteral("C.NRLCTBAJPAG"), QStringLiteral("C.NRSEQAJUPAG")),
                       QStringLiteral("C.NRSEQAJUPAG"), {m_company});
        while (nextRow(query)) {
            const InstalmentKey key = rowKey(query);
            const int sequence = query.value(4).toInt();
            if (sequence < 1)
                throw ServerFailure(QStringLiteral("O ajuste %1 da conta a pagar %2 tem número inválido; os "
                                                   "ajustes são numerados a partir de 1.")
                                        .arg(sequence)
                                        .arg(key.text()));
            found[key].adjustments << Adjustment{sequence,
                                                 query.value(5).toLongLong(),
                                                 shared(query.value(6)),
                                                 shared(query.value(7)),
                                                 query.value(8).toLongLong(),
                                                 query.value(9).toString(),
                                                 query.value(10).toBool()};
        }
    }

    void readRules(const KeyBatch &batch, QHash<InstalmentKey, Instalment> &found) {
        QSqlQuery query = readRowsOf(batch, QStringLiteral("RATEIOCTPAGAR"),
                                     QStringLiteral("C.CDFILIRAT, C.CDCENTCUST, C.QTPERCRAT"),
                                     QStringLiteral("C.NRSEQRAT"));
        while (nextRow(query))
            found[rowKey(query)].rules
                << ApportionRule{shared(query.value(4)), shared(query.value(5)), query.value(6).toInt()};
    }

    // The lines its postings have before the run: what a run replaces, keeps or removes, the debits
    // the audit compares, and whether one lies outside the open period.
    void readStoredLines(const KeyBatch &batch, QHash<InstalmentKey, Instalment> &found) {
        QSqlQuery query = readRowsOf(
            batch, QStringLiteral("LANCCONTABIL"),
            QStringLiteral("C.CDEMPRESA, C.NRLANCCTB, C.NRSEQCTB, COALESCE(C.NRSEQAJUPAG, 0), C.DTLANCCTB,"
                           " C.IDDEBCRED, C.VRLANCCTB, (SELECT COALESCE(MAX(R.NRSEQRAT), 0) FROM RATEIOLANC R"
                           " WHERE R.CDEMPRESA = C.CDEMPRESA AND R.NRLANCCTB = C.NRLANCCTB"
                           " AND R.NRSEQCTB = C.NRSEQCTB)"),
            {});
        while (nextRow(query)) {
            const auto instalment = found.find(rowKey(query));
            if (instalment == found.end())
                continue; // not read: reported as missing
            const StoredLine line{
                shared(query.value(4)),       query.value(5).toString(),
                query.value(6).toInt(),       query.value(7).toInt(),
                query.value(8).toLongLong(),  query.value(9).toString() == QLatin1String("D"),
                query.value(10).toLongLong(), query.value(11).toInt()};
            if (line.day < m_period.first || line.day > m_period.second)
                instalment->postedOutsidePeriod = true;
            instalment->storedLines << line;
        }
    }

    // The stored postings, line by line, grouped by number; credits negative like the run's own lines.
    void readEarlierPostings(Instalment &instalment) {
        execRun(m_earlier, instalment.key.values());
        while (nextRow(m_earlier)) {
            const QString number = m_earlier.value(0).toString();
            if (instalment.earlierPostings.isEmpty() || instalment.earlierPostings.last().number != number) {
                Posting posting;
                posting.key = instalment.key;
                posting.number = posting.previousNumber = number;
                posting.adjustmentSequence = m_earlier.value(1).toInt();
                posting.day = m_earlier.value(2).toLongLong();
                posting.history = m_earlier.value(6).toString();
                posting.historyText = m_earlier.value(7).toString();
                posting.supplier = m_earlier.value(8).toString();
                instalment.earlierPostings << posting;
            }
            const qint64 cents = m_earlier.value(5).toLongLong();
            instalment.earlierPostings.last().lines
                << PostingLine{m_earlier.value(3).toString(),
                               m_earlier.value(4).toString() == QLatin1String("D") ? cents : -cents,
                               0,
                               {}};
        }
    }

    // Branches, types, suppliers and series repeat across the instalments of a run: each distinct
    // text is kept once and shared.
    QString shared(const QVariant &value) { return *m_texts.insert(value.toString()); }

    QSqlDatabase &m_db;
    QString m_company;
    std::pair<qint64, qint64> m_period;
    QSqlQuery m_earlier;
    QSet<QString> m_texts;
};

} // namespace

void lockInstalments(QSqlDatabase &db, RunTransaction &transaction, const QList<InstalmentKey> &keys) {
    if (!isPostgres(db))
        return;
    for (const KeyBatch &batch : keyBatches(db, keys)) {
        transaction.limitLockWait();
        QSqlQuery lock = selectRun(
            db,
            batch.with +
                QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM K CROSS JOIN CONTAPAGAR C WHERE") +
                KeyBatch::matches(QStringLiteral("C")) + QStringLiteral(" ORDER BY ") + keyColumns +
                QStringLiteral(" FOR UPDATE OF C) L"),
            batch.values);
        nextRow(lock);
    }
}

QList<Instalment> readInstalments(QSqlDatabase &db, const QList<InstalmentKey> &keys, const Ledger &ledger) {
    InstalmentReader reader(db, ledger);
    QList<Instalment> instalments;
    instalments.reserve(keys.size());
    for (const KeyBatch &batch : keyBatches(db, keys))
        reader.read(batch, instalments);
    return instalments;
}

qint64 countLines(QSqlDatabase &db, const QList<InstalmentKey> &keys) {
    const QString postings =
        QStringLiteral(
            "SELECT COUNT(*) + COALESCE(SUM((SELECT COUNT(*) FROM AJCTPAGAR A WHERE A.CDFILIAL = C.CDFILIAL"
            " AND A.NRLANCTONF = C.NRLANCTONF AND A.NRSEQVENPAG = C.NRSEQVENPAG"
            " AND A.NRPARCELAPAG = C.NRPARCELAPAG)), 0)"
            " FROM K CROSS JOIN CONTAPAGAR C WHERE C.IDSTATPAG <> 'C' AND") +
        KeyBatch::matches(QStringLiteral("C"));
    qint64 count = 0;
    for (const KeyBatch &batch : keyBatches(db, keys)) {
        QSqlQuery query = selectRun(db, batch.with + postings, batch.values);
        count += nextRow(query) ? query.value(0).toLongLong() : 0;
    }
    return 2 * count;
}
