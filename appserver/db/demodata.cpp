#include "appserver/db/database.h"
#include "appserver/db/demodata_p.h"

#include <QDateTime>
#include <QHash>

#include <numeric>

namespace {

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// One document with its instalments, generated row by row into prepared statements.
class DocumentWriter {
public:
    DocumentWriter(QSqlDatabase &db, const DemoOrganisation &org, QRandomGenerator &rng, const QDate &today);

    // Writes one document with up to `maxInstalments` instalments; returns how many it wrote.
    int write(const Branch &branch, int number, int maxInstalments);
    void finish(QSqlDatabase &db);

private:
    void writeInstalment(const Branch &branch, const QString &document, int sequence, int parcel,
                         qint64 entryDay, const QString &description, qint64 original);
    QList<QVariantList> planAdjustments(qint64 entryDay, qint64 *effect);
    void writePostings(const Branch &branch, const QVariantList &key, const QString &type, qint64 value,
                       qint64 day);
    void writeApportionment(const QVariantList &key);
    QString pick(const QStringList &list) { return list.at(m_rng.bounded(list.size())); }

    const DemoOrganisation &m_org;
    QRandomGenerator &m_rng;
    qint64 m_today;
    qint64 m_periodStart;
    QHash<QString, qint64> m_lastPosting;
    Inserter m_documents, m_instalments, m_adjustments, m_rules, m_postings, m_postingSplits;
    QString m_supplier;
};

const QStringList instalmentColumns = {
    "CDFILIAL",     "NRLANCTONF",   "NRSEQVENPAG", "NRPARCELAPAG", "DSCONTAPAG", "CDTPCTPAGAR",
    "DTORIGVENPAG", "DTATUAVENPAG", "VRORIGPAG",   "VRATUAPAG",    "VRLIQPAG",   "IDSTATPAG",
    "IDSITUCNABP",  "IDCTBLCTPAG",  "NRLANCTBDOC", "CDFILILANC",   "CDMOTIPROR", "CDMOTIPARC"};

DocumentWriter::DocumentWriter(QSqlDatabase &db, const DemoOrganisation &org, QRandomGenerator &rng,
                               const QDate &today)
    : m_org(org)
    , m_rng(rng)
    , m_today(dayNumber(today))
    , m_periodStart(dayNumber(openPeriodStart(today)))
    , m_documents(db, "NOTAFISCAL",
                  {"CDFILIAL", "NRLANCTONF", "NRNOTAFISC", "CDSERIEENTR", "CDSERIE", "CDFILIEMIT",
                   "CDFILIRECE", "DTEMISSAO", "DTENTRSAID", "IDSTATUS", "VRNOTAFISC", "CDFORNECED"})
    , m_instalments(db, "CONTAPAGAR", instalmentColumns)
    , m_adjustments(db, "AJCTPAGAR",
                    {"CDFILIAL", "NRLANCTONF", "NRSEQVENPAG", "NRPARCELAPAG", "NRSEQAJUPAG", "DTAJUSTEPAG",
                     "CDAJUCTPAG", "DSAJUSTEPAG", "VRAJUSTEPAG", "DTMOVFLUXO", "IDMOVFLUXO"})
    , m_rules(db, "RATEIOCTPAGAR",
              {"CDFILIAL", "NRLANCTONF", "NRSEQVENPAG", "NRPARCELAPAG", "NRSEQRAT", "CDFILIRAT", "CDCENTCUST",
               "QTPERCRAT"})
    , m_postings(db, "LANCCONTABIL",
                 {"CDEMPRESA", "NRLANCCTB", "NRSEQCTB", "DTLANCCTB", "CDCONTCTBL", "IDDEBCRED", "VRLANCCTB",
                  "CDHISTPADR", "DSHISTCTB", "IDLANCCTBCOME", "CDLANCCTBCOME", "CDDOCUCONT", "CDFILIAL",
                  "NRLANCTONF", "NRSEQVENPAG", "NRPARCELAPAG", "CDOPERADOR", "DTHRGRAVACAO"})
    , m_postingSplits(
          db, "RATEIOLANC",
          {"CDEMPRESA", "NRLANCCTB", "NRSEQCTB", "NRSEQRAT", "CDFILIAL", "CDCENTCUST", "VRLANCCUST"}) {}

int DocumentWriter::write(const Branch &branch, int number, int maxInstalments) {
    const QString document = QString::number(number);
    m_supplier = pick(m_org.suppliers);
    const qint64 issued = m_today - m_rng.bounded(150);
    const qint64 entry = qMin(m_today, issued + m_rng.bounded(6));
    const int sequences = 1 + m_rng.bounded(qMin(4, maxInstalments));
    // Every tenth document had its first due sequence split in two instalments.
    const bool split = number % 10 == 0 && sequences < maxInstalments;
    QList<std::pair<int, int>> parts;
    for (int sequence = 1; sequence <= sequences; ++sequence)
        for (int parcel = 1; parcel <= (split && sequence == 1 ? 2 : 1); ++parcel)
            parts << std::pair{sequence, parcel};
    QList<qint64> values;
    for (int i = 0; i < parts.size(); ++i)
        values << 5000 + m_rng.bounded(2000000);
    const QString series =
        number % 3 == 0 ? QString() : (number % 3 == 1 ? QStringLiteral("1") : QStringLiteral("U"));
    const QVariant seriesValue = series.isEmpty() ? QVariant() : QVariant(series);
    m_documents.insert({branch.code, document, QString::number(1 + m_rng.bounded(999999)), seriesValue,
                        seriesValue, branch.code, branch.code, issued, entry, number % 25 == 0 ? "P" : "N",
                        std::accumulate(values.begin(), values.end(), qint64(0)), m_supplier});
    const QString description =
        number % 2 ? QString() : QStringLiteral("Pedido de compra %1").arg(number * 7);
    for (int i = 0; i < parts.size(); ++i)
        writeInstalment(branch, document, parts.at(i).first, parts.at(i).second, entry, description,
                        values.at(i));
    return int(parts.size());
}

void DocumentWriter::writeInstalment(const Branch &branch, const QString &document, int sequence, int parcel,
                                     qint64 entryDay, const QString &description, qint64 original) {
    const QVariantList key = {branch.code, document, twoDigits(sequence), twoDigits(parcel)};
    const QString type = pick(m_org.accountTypes);
    const qint64 due = entryDay + 30 * sequence;
    const bool prorogued = m_rng.bounded(20) == 0;
    const qint64 currentDue = prorogued ? due + 15 : due;
    const int roll = m_rng.bounded(100);
    const QVariant bank = roll < 70 ? QVariant() : QVariant(roll < 80 ? "00" : roll < 90 ? "01" : "02");
    const bool accounted = entryDay < m_periodStart ? roll % 3 != 0 : roll % 4 == 0;
    QVariant postingNumber;
    if (accounted) {
        postingNumber = QStringLiteral("%1").arg(++m_lastPosting[branch.company], 12, 10, QLatin1Char('0'));
    }
    // Documents with their posting branch elsewhere in the company.
    QString postingBranch = branch.code;
    if (roll % 5 == 0) {
        for (const Branch &other : m_org.branches)
            if (other.company == branch.company && other.code != branch.code)
                postingBranch = other.code;
    }
    qint64 effect = 0;
    const QList<QVariantList> adjustments = planAdjustments(entryDay, &effect);
    const QString paid = currentDue < m_today && roll % 2 ? "P" : "A";
    m_instalments.insert(key + QVariantList{description.isEmpty() ? QVariant() : description, type, due,
                                            currentDue, original, original, original + effect, paid, bank,
                                            accounted ? "S" : "N", postingNumber, postingBranch,
                                            prorogued ? QVariant("01") : QVariant(),
                                            parcel > 1 ? QVariant("02") : QVariant()});
    for (const QVariantList &adjustment : adjustments)
        m_adjustments.insert(key + adjustment);
    if (accounted && type != QStringLiteral("DIVER"))
        writePostings(branch, key, type, original, qMax(entryDay, m_periodStart - 60));
    if (roll % 10 == 1)
        writeApportionment(key);
}

// Adjustments on about one instalment in six (without their key); `effect` is their effect on the
// net value.
QList<QVariantList> DocumentWriter::planAdjustments(qint64 entryDay, qint64 *effect) {
    QList<QVariantList> rows;
    if (m_rng.bounded(6) != 0)
        return rows;
    const int count = 1 + m_rng.bounded(3);
    for (int i = 1; i <= count; ++i) {
        const QString type = pick(m_org.adjustmentTypes);
        const qint64 value = 100 + m_rng.bounded(20000);
        const bool discount = type == QStringLiteral("0001") || type == QStringLiteral("0004");
        *effect += discount ? -value : value;
        const qint64 day = entryDay + m_rng.bounded(20);
        rows << QVariantList{i, day, type, discount ? "Desc. negociado" : "Atraso no pagto", value, day, "S"};
    }
    return rows;
}

// A simple balanced posting (expense against supplier) on the company's default cost centre.
void DocumentWriter::writePostings(const Branch &branch, const QVariantList &key, const QString &type,
                                   qint64 value, qint64 day) {
    static const QHash<QString, QString> expense = {{"MAT", "3.1.1.01"},
                                                    {"SERV", "3.1.1.02"},
                                                    {"ALUG", "3.1.1.03"},
                                                    {"ENERG", "3.1.1.04"},
                                                    {"TELEF", "3.1.1.04"}};
    const QString number = QStringLiteral("%1").arg(m_lastPosting[branch.company], 12, 10, QLatin1Char('0'));
    const QString history = QStringLiteral("Vr. ref. NF %1 de %2").arg(key.at(1).toString(), m_supplier);
    const QString costCentre = branch.company == "01" ? "0001" : branch.company == "02" ? "0004" : "0002";
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    int sequence = 0;
    for (const auto &[account, side] :
         {std::pair{expense.value(type), "D"}, std::pair{QString("2.1.1.01"), "C"}}) {
        ++sequence;
        m_postings.insert(QVariantList{branch.company, number, sequence, day, account, side, value, "0001",
                                       history, "P", m_supplier, key.at(1)} +
                          key + QVariantList{"admin", now});
        m_postingSplits.insert({branch.company, number, sequence, 1, branch.code, costCentre, value});
    }
}

void DocumentWriter::writeApportionment(const QVariantList &key) {
    // Three ways, so that the cents of the split do not divide evenly.
    const QList<int> shares = {3334, 3333, 3333};
    for (int i = 0; i < shares.size(); ++i)
        m_rules.insert(key + QVariantList{i + 1, key.at(0), m_org.costCentres.at(i), shares.at(i)});
}

void DocumentWriter::finish(QSqlDatabase &db) {
    Inserter numbers(db, "NUMLANCCTB", {"CDEMPRESA", "NRULTLANCCTB"});
    for (const char *company : {"01", "02", "03"})
        numbers.insert({company, m_lastPosting.value(company)});
}

// Company 01 gets most documents; its first document is held open for change by operator "fiscal".
void seedDocuments(QSqlDatabase &db, const DemoOrganisation &org, QRandomGenerator &rng, const QDate &today,
                   int instalments) {
    DocumentWriter writer(db, org, rng, today);
    static const QList<int> branchWeights = {35, 15, 10, 15, 10, 15};
    QHash<QString, int> numbers;
    int written = 0;
    while (written < instalments) {
        int roll = rng.bounded(100);
        int index = 0;
        while (roll >= branchWeights.at(index))
            roll -= branchWeights.at(index++);
        const Branch &branch = org.branches.at(index);
        written += writer.write(branch, ++numbers[branch.code], instalments - written);
    }
    writer.finish(db);
    if (numbers.value("0101") > 0) {
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        Inserter holds(db, "BLOQDOCUMENTO",
                       {"CDFILIAL", "NRLANCTONF", "CDOPERADOR", "DTHRINICBLOQ", "DTHRFINABLOQ", "DSESTACAO"});
        holds.insert({"0101", "1", "fiscal", now - 3600, now + 365 * 86400, "Estação FISCAL-02"});
    }
}

} // namespace

void seedDemo(QSqlDatabase &db, int instalments, const QDate &today) {
    // Checked inside the exclusive transaction: of two servers starting on one empty database, one
    // seeds and the other finds the data there.
    beginExclusive(db, QStringLiteral("EMPRESA"));
    try {
        if (selectValue(db, QStringLiteral("SELECT COUNT(*) FROM EMPRESA")).toInt() > 0) {
            db.rollback();
            return;
        }
        QRandomGenerator rng(20240601);
        const DemoOrganisation org = seedOrganisation(db, rng, today);
        seedDocuments(db, org, rng, today, instalments);
        if (!db.commit())
            throw DatabaseError(QStringLiteral("Falha ao gravar os dados de demonstração."));
    } catch (...) {
        db.rollback();
        throw;
    }
}
