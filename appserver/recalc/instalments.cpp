#include "appserver/recalc/instalments.h"
#include "appserver/db/database.h"
#include "appserver/recalc/keybatches.h"
#include "appserver/recalc/runsql.h"
#include "appserver/server/module.h"

#include <QSet>

namespace {

const QString keyWhere =
    QStringLiteral(" WHERE C.CDFILIAL = ? AND C.NRLANCTONF = ? AND C.NRSEQVENPAG = ? AND C.NRPARCELAPAG = ?");

class InstalmentReader {
public:
    InstalmentReader(QSqlDatabase &db, const Ledger &ledger)
        : m_company(ledger.company)
        , m_period{ledger.periodStart, ledger.periodEnd}
        , m_instalment(prepareRun(
              db, QStringLiteral(
                      "SELECT F.CDEMPRESA, C.CDFILILANC, C.CDTPCTPAGAR, N.CDFORNECED, S.NMRAZSOCFORN,"
                      " S.CDCONTFORN, N.NRNOTAFISC, N.CDSERIEENTR, N.DTENTRSAID, C.VRATUAPAG, C.NRLANCTBDOC,"
                      " C.IDSTATPAG, EXISTS (SELECT 1 FROM LANCCONTABIL L WHERE L.CDFILIAL = C.CDFILIAL"
                      " AND L.NRLANCTONF = C.NRLANCTONF AND L.NRSEQVENPAG = C.NRSEQVENPAG"
                      " AND L.NRPARCELAPAG = C.NRPARCELAPAG AND (L.DTLANCCTB < ? OR L.DTLANCCTB > ?))"
                      " FROM CONTAPAGAR C"
                      " JOIN NOTAFISCAL N ON N.CDFILIAL = C.CDFILIAL AND N.NRLANCTONF = C.NRLANCTONF"
                      " JOIN FORNECEDOR S ON S.CDFORNECED = N.CDFORNECED"
                      " JOIN FILIAL F ON F.CDFILIAL = C.CDFILIAL") +
                      keyWhere))
        , m_adjustments(prepareRun(
              db, QStringLiteral("SELECT C.NRSEQAJUPAG, C.DTAJUSTEPAG, C.CDAJUCTPAG, C.DSAJUSTEPAG,"
                                 " C.VRAJUSTEPAG, C.NRLCTBAJPAG FROM AJCTPAGAR C") +
                      keyWhere + QStringLiteral(" ORDER BY C.NRSEQAJUPAG")))
        , m_rules(prepareRun(
              db, QStringLiteral("SELECT C.CDFILIRAT, C.CDCENTCUST, C.QTPERCRAT FROM RATEIOCTPAGAR C") +
                      keyWhere + QStringLiteral(" ORDER BY C.NRSEQRAT")))
        , m_earlier(prepareRun(
              db,
              QStringLiteral("SELECT C.NRLANCCTB, C.NRSEQAJUPAG, C.DTLANCCTB, C.CDCONTCTBL, C.IDDEBCRED,"
                             " C.VRLANCCTB, C.CDHISTPADR, C.DSHISTCTB, C.CDLANCCTBCOME FROM LANCCONTABIL C") +
                  keyWhere + QStringLiteral(" ORDER BY C.NRLANCCTB, C.NRSEQCTB"))) {}

    Instalment read(const InstalmentKey &key) {
        Instalment instalment = readOwn(key);
        readAdjustments(instalment);
        readRules(instalment);
        if (instalment.cancelled && instalment.postedOutsidePeriod)
            readEarlierPostings(instalment);
        return instalment;
    }

private:
    Instalment readOwn(const InstalmentKey &key) {
        execRun(m_instalment, QVariantList{m_period.first, m_period.second} + key.values());
        if (!nextRow(m_instalment))
            throw ServerFailure(
                QStringLiteral(
                    "A conta a pagar %1 não existe; atualize a lista e marque as contas novamente.")
                    .arg(key.text()));
        if (m_instalment.value(0).toString() != m_company)
            throw ServerFailure(
                QStringLiteral("A conta a pagar %1 não pertence à empresa %2.").arg(key.text(), m_company));
        Instalment instalment;
        instalment.key = key;
        instalment.postingBranch = shared(m_instalment.value(1));
        instalment.accountType = shared(m_instalment.value(2));
        instalment.supplier = shared(m_instalment.value(3));
        instalment.supplierName = shared(m_instalment.value(4));
        instalment.supplierAccount = shared(m_instalment.value(5));
        instalment.document = m_instalment.value(6).toString();
        instalment.series = shared(m_instalment.value(7));
        instalment.entryDay = m_instalment.value(8).toLongLong();
        instalment.cents = m_instalment.value(9).toLongLong();
        instalment.previousNumber = m_instalment.value(10).toString();
        instalment.cancelled = m_instalment.value(11).toString() == QLatin1String("C");
        instalment.postedOutsidePeriod = m_instalment.value(12).toBool();
        m_instalment.finish();
        return instalment;
    }

    // An adjustment numbered 0 (kept from before the schema refused it) would pass for the instalment's
    // own posting: the run is refused until it is renumbered.
    void readAdjustments(Instalment &instalment) {
        execRun(m_adjustments, instalment.key.values());
        while (nextRow(m_adjustments)) {
            const int sequence = m_adjustments.value(0).toInt();
            if (sequence < 1)
                throw ServerFailure(QStringLiteral("O ajuste %1 da conta a pagar %2 tem número inválido; os "
                                                   "ajustes são numerados a partir de 1.")
                                        .arg(sequence)
                                        .arg(instalment.key.text()));
            instalment.adjustments << Adjustment{sequence,
                                                 m_adjustments.value(1).toLongLong(),
                                                 shared(m_adjustments.value(2)),
                                                 shared(m_adjustments.value(3)),
                                                 m_adjustments.value(4).toLongLong(),
                                                 m_adjustments.value(5).toString()};
        }
    }

    void readRules(Instalment &instalment) {
        execRun(m_rules, instalment.key.values());
        while (nextRow(m_rules))
            instalment.rules << ApportionRule{shared(m_rules.value(0)), shared(m_rules.value(1)),
                                              m_rules.value(2).toInt()};
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

    QString m_company;
    std::pair<qint64, qint64> m_period;
    QSqlQuery m_instalment, m_adjustments, m_rules, m_earlier;
    QSet<QString> m_texts;
};

qint64 countOf(QSqlDatabase &db, const QString &sql, const KeyBatch &batch) {
    QSqlQuery query = selectRun(db, sql + batch.condition, batch.values);
    return nextRow(query) ? query.value(0).toLongLong() : 0;
}

} // namespace

void lockInstalments(QSqlDatabase &db, RunTransaction &transaction, const QList<InstalmentKey> &keys) {
    if (!isPostgres(db))
        return;
    for (const KeyBatch &batch : keyBatches(keys, QStringLiteral("C"))) {
        transaction.limitLockWait();
        QSqlQuery lock = selectRun(
            db,
            QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM CONTAPAGAR C WHERE ") + batch.condition +
                QStringLiteral(
                    " ORDER BY C.CDFILIAL, C.NRLANCTONF, C.NRSEQVENPAG, C.NRPARCELAPAG FOR UPDATE) L"),
            batch.values);
        nextRow(lock);
    }
}

QList<Instalment> readInstalments(QSqlDatabase &db, const QList<InstalmentKey> &keys, const Ledger &ledger) {
    InstalmentReader reader(db, ledger);
    QList<Instalment> instalments;
    instalments.reserve(keys.size());
    for (const InstalmentKey &key : keys)
        instalments << reader.read(key);
    return instalments;
}

qint64 countLines(QSqlDatabase &db, const QList<InstalmentKey> &keys) {
    qint64 postings = 0;
    for (const KeyBatch &batch : keyBatches(keys, QStringLiteral("C"))) {
        postings += countOf(
            db, QStringLiteral("SELECT COUNT(*) FROM CONTAPAGAR C WHERE C.IDSTATPAG <> 'C' AND "), batch);
        postings +=
            countOf(db,
                    QStringLiteral("SELECT COUNT(*) FROM AJCTPAGAR A JOIN CONTAPAGAR C"
                                   " ON C.CDFILIAL = A.CDFILIAL AND C.NRLANCTONF = A.NRLANCTONF"
                                   " AND C.NRSEQVENPAG = A.NRSEQVENPAG AND C.NRPARCELAPAG = A.NRPARCELAPAG"
                                   " WHERE C.IDSTATPAG <> 'C' AND "),
                    batch);
    }
    return 2 * postings;
}
