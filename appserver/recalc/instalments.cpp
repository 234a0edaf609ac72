#include "appserver/recalc/instalments.h"
#include "appserver/db/database.h"
#include "appserver/recalc/runsql.h"
#include "appserver/server/module.h"

#include <QSet>

namespace {

const QString keyWhere =
    QStringLiteral(" WHERE C.CDFILIAL = ? AND C.NRLANCTONF = ? AND C.NRSEQVENPAG = ? AND C.NRPARCELAPAG = ?");

class InstalmentReader {
public:
    InstalmentReader(QSqlDatabase &db, const QString &company)
        : m_company(company)
        , m_instalment(prepareRun(
              db, QStringLiteral(
                      "SELECT F.CDEMPRESA, C.CDFILILANC, C.CDTPCTPAGAR, N.CDFORNECED, S.NMRAZSOCFORN,"
                      " S.CDCONTFORN, N.NRNOTAFISC, N.CDSERIEENTR, N.DTENTRSAID, C.VRATUAPAG, C.NRLANCTBDOC"
                      " FROM CONTAPAGAR C"
                      " JOIN NOTAFISCAL N ON N.CDFILIAL = C.CDFILIAL AND N.NRLANCTONF = C.NRLANCTONF"
                      " JOIN FORNECEDOR S ON S.CDFORNECED = N.CDFORNECED"
                      " JOIN FILIAL F ON F.CDFILIAL = C.CDFILIAL") +
                      keyWhere + (isPostgres(db) ? QStringLiteral(" FOR UPDATE OF C") : QString())))
        , m_adjustments(prepareRun(
              db, QStringLiteral("SELECT C.NRSEQAJUPAG, C.DTAJUSTEPAG, C.CDAJUCTPAG, C.DSAJUSTEPAG,"
                                 " C.VRAJUSTEPAG, C.NRLCTBAJPAG FROM AJCTPAGAR C") +
                      keyWhere + QStringLiteral(" ORDER BY C.NRSEQAJUPAG")))
        , m_rules(prepareRun(
              db, QStringLiteral("SELECT C.CDFILIRAT, C.CDCENTCUST, C.QTPERCRAT FROM RATEIOCTPAGAR C") +
                      keyWhere + QStringLiteral(" ORDER BY C.NRSEQRAT"))) {}

    Instalment read(const InstalmentKey &key) {
        Instalment instalment = readOwn(key);
        readAdjustments(instalment);
        readRules(instalment);
        return instalment;
    }

private:
    Instalment readOwn(const InstalmentKey &key) {
        execRun(m_instalment, key.values());
        if (!m_instalment.next())
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
        m_instalment.finish();
        return instalment;
    }

    void readAdjustments(Instalment &instalment) {
        execRun(m_adjustments, instalment.key.values());
        while (m_adjustments.next())
            instalment.adjustments << Adjustment{
                m_adjustments.value(0).toInt(),      m_adjustments.value(1).toLongLong(),
                shared(m_adjustments.value(2)),      shared(m_adjustments.value(3)),
                m_adjustments.value(4).toLongLong(), m_adjustments.value(5).toString()};
    }

    void readRules(Instalment &instalment) {
        execRun(m_rules, instalment.key.values());
        while (m_rules.next())
            instalment.rules << ApportionRule{shared(m_rules.value(0)), shared(m_rules.value(1)),
                                              m_rules.value(2).toInt()};
    }

    // Branches, types, suppliers and series repeat across the instalments of a run: each distinct
    // text is kept once and shared.
    QString shared(const QVariant &value) { return *m_texts.insert(value.toString()); }

    QString m_company;
    QSqlQuery m_instalment, m_adjustments, m_rules;
    QSet<QString> m_texts;
};

} // namespace

QList<Instalment> readInstalments(QSqlDatabase &db, const QList<InstalmentKey> &keys,
                                  const QString &company) {
    InstalmentReader reader(db, company);
    QList<Instalment> instalments;
    instalments.reserve(keys.size());
    for (const InstalmentKey &key : keys)
        instalments << reader.read(key);
    return instalments;
}
