#include "appserver/modules/cntpagarquery.h"
#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "appserver/modules/selectpacket.h"
#include "appserver/server/module.h"
#include "server_contract/listargs.h"
#include "server_contract/recconpag.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>

#include <cmath>

using namespace RecConPag;

namespace {

std::optional<QStringList> listArg(const CallArgs &args, int flagIndex) {
    const bool restricted = args.flag(flagIndex);
    QStringList codes;
    try {
        codes = CodeList::parse(args.text(flagIndex + 1));
    } catch (const CodeList::FormatError &error) {
        throw BadCall(QStringLiteral("Argumento %1: %2").arg(flagIndex + 2).arg(error.message()));
    }
    return restricted ? std::optional(codes) : std::nullopt;
}

qint64 finiteNumber(double value, int index) {
    if (!std::isfinite(value) || std::abs(value) > 1e13)
        throw BadCall(QStringLiteral("Argumento %1 fora da faixa.").arg(index + 1));
    return qint64(std::floor(value));
}

// 0 leaves a side open; dates keep only their day.
Range dateRange(const CallArgs &args, int fromIndex) {
    Range range;
    if (const double from = args.date(fromIndex); from != 0)
        range.from = finiteNumber(from, fromIndex);
    if (const double to = args.date(fromIndex + 1); to != 0)
        range.to = finiteNumber(to, fromIndex + 1);
    return range;
}

Range moneyRange(const CallArgs &args, int fromIndex) {
    Range range;
    for (int i : {0, 1}) {
        const double value = args.number(fromIndex + i);
        finiteNumber(value, fromIndex + i);
        if (value != 0)
            (i == 0 ? range.from : range.to) = qRound64(value * 100.0); // value edits carry two decimals
    }
    return range;
}

QChar accountingState(const QString &text) {
    if (text != QStringLiteral("C") && text != QStringLiteral("N") && text != QStringLiteral("T"))
        throw BadCall(QStringLiteral("Argumento 26: situação contábil deve ser C, N ou T."));
    return text.at(0);
}

} // namespace

CntPagarCriteria CntPagarCriteria::fromArgs(const CallArgs &args) {
    CntPagarCriteria c;
    c.company = args.text(ArgEmpresa);
    c.suppliers = listArg(args, ArgListaForn);
    c.documentFrom = args.text(ArgNrDocuIni).trimmed();
    c.documentTo = args.text(ArgNrDocuFin).trimmed();
    c.issued = dateRange(args, ArgDtEmissaoIni);
    c.entered = dateRange(args, ArgDtEntradaIni);
    c.originBranches = listArg(args, ArgListaFiliOrig);
    c.postingBranches = listArg(args, ArgListaFiliLanc);
    c.documentValue = moneyRange(args, ArgVrDocuIni);
    c.due = dateRange(args, ArgVencIni);
    c.overdue = args.flag(ArgVencidas);
    c.notYetDue = args.flag(ArgAVencer);
    c.accountTypes = listArg(args, ArgListaTpConta);
    c.originalValue = moneyRange(args, ArgVrOriginalIni);
    c.netValue = moneyRange(args, ArgVrLiquidoIni);
    c.accounted = accountingState(args.text(ArgContabil));
    return c;
}

void CntPagarCriteria::writeBack(CallArgs &args) const {
    for (int index : {ArgFornecedores, ArgFiliOrig, ArgFiliLanc, ArgTiposConta}) {
        const QString normal = CodeList::write(CodeList::parse(args.text(index)));
        if (normal != args.text(index))
            args.setReference(index, normal);
    }
}

namespace {

// Collects the WHERE clause and its values side by side, so that every value is bound.
class Filter {
public:
    explicit Filter(bool postgres)
        : m_postgres(postgres) {}

    void add(const QString &condition, const QVariantList &values = {}) {
        m_sql += QStringLiteral(" AND ") + condition;
        m_values += values;
    }

    void range(const QString &column, const Range &range) {
        if (range.from)
            add(column + QStringLiteral(" >= ?"), {*range.from});
        if (range.to)
            add(column + QStringLiteral(" <= ?"), {*range.to});
    }

    // A list is bound as one JSON array, so its size is not bounded by the database's limit on
    // parameters of one statement.
    void list(const QString &column, const std::optional<QStringList> &codes) {
        if (!codes)
            return;
        if (codes->isEmpty()) {
            add(QStringLiteral("1 = 0"));
            return;
        }
        const QString elements = m_postgres
                                     ? QStringLiteral("SELECT json_array_elements_text(CAST(? AS json))")
                                     : QStringLiteral("SELECT value FROM json_each(?)");
        const QByteArray array =
            QJsonDocument(QJsonArray::fromStringList(*codes)).toJson(QJsonDocument::Compact);
        add(column + QStringLiteral(" IN (") + elements + u')', {QString::fromUtf8(array)});
    }

    // Document numbers compare by their value without leading zeros: first by length, then as text,
    // so "0001234" (the client's zero-filled form) and "1234" are the same number.
    void document(const QString &op, const QString &number) {
        if (number.isEmpty())
            return;
        const QString digits = stripZeros(number);
        const QString stored = QStringLiteral("LTRIM(N.NRNOTAFISC, '0')");
        const QString text = m_postgres ? stored + QStringLiteral(" COLLATE \"C\"") : stored;
        add(QStringLiteral("(LENGTH(%1) %2 ? OR (LENGTH(%1) = ? AND %3 %4 ?))")
                .arg(stored, op.left(1), text, op),
            {qint64(digits.size()), qint64(digits.size()), digits});
    }

    const QString &sql() const { return m_sql; }
    const QVariantList &values() const { return m_values; }

private:
    static QString stripZeros(const QString &number) {
        qsizetype first = 0;
        while (first < number.size() && number.at(first) == u'0')
            ++first;
        return number.mid(first);
    }

    bool m_postgres;
    QString m_sql;
    QVariantList m_values;
};

const QString selectCntPagar = QStringLiteral(
    "SELECT 'N', C.DSCONTAPAG, C.CDFILIAL, C.NRLANCTONF, C.NRSEQVENPAG, C.DTATUAVENPAG, F.NMRAZSOCFORN,"
    " C.CDMOTIPROR, C.CDMOTIPARC, C.IDSTATPAG, C.CDTPCTPAGAR, C.VRATUAPAG, FI.CDEMPRESA, F.NRINSJURFORN,"
    " N.CDFORNECED, T.DSTPCTPAGAR, N.CDSERIE, N.CDFILIEMIT, N.NRNOTAFISC, C.NRLANCTBDOC, N.IDSTATUS,"
    " N.VRNOTAFISC, N.DTENTRSAID, N.CDFILIRECE, N.CDSERIEENTR, C.NRPARCELAPAG, F.NMFANTFORN, C.IDCTBLCTPAG"
    " FROM CONTAPAGAR C"
    " JOIN FILIAL FI ON FI.CDFILIAL = C.CDFILIAL"
    " JOIN NOTAFISCAL N ON N.CDFILIAL = C.CDFILIAL AND N.NRLANCTONF = C.NRLANCTONF"
    " JOIN FORNECEDOR F ON F.CDFORNECED = N.CDFORNECED"
    " JOIN TIPOCTPAGAR T ON T.CDTPCTPAGAR = C.CDTPCTPAGAR"
    " WHERE FI.CDEMPRESA = ?");

qint64 dayCount(const QDate &date) {
    return date.toJulianDay() - QDate(1899, 12, 30).toJulianDay();
}

Filter buildFilter(bool postgres, const CntPagarCriteria &c, const QDate &today) {
    Filter filter(postgres);
    filter.list(QStringLiteral("N.CDFORNECED"), c.suppliers);
    filter.document(QStringLiteral(">="), c.documentFrom);
    filter.document(QStringLiteral("<="), c.documentTo);
    filter.range(QStringLiteral("N.DTEMISSAO"), c.issued);
    filter.range(QStringLiteral("N.DTENTRSAID"), c.entered);
    filter.list(QStringLiteral("C.CDFILIAL"), c.originBranches);
    filter.list(QStringLiteral("C.CDFILILANC"), c.postingBranches);
    filter.range(QStringLiteral("N.VRNOTAFISC"), c.documentValue);
    filter.range(QStringLiteral("C.DTATUAVENPAG"), c.due);
    // Checking both situations, or neither, lists every instalment.
    if (c.overdue != c.notYetDue)
        filter.add(c.overdue ? QStringLiteral("C.DTATUAVENPAG < ?") : QStringLiteral("C.DTATUAVENPAG >= ?"),
                   {dayCount(today)});
    filter.list(QStringLiteral("C.CDTPCTPAGAR"), c.accountTypes);
    filter.range(QStringLiteral("C.VRORIGPAG"), c.originalValue);
    filter.range(QStringLiteral("C.VRLIQPAG"), c.netValue);
    if (c.accounted != u'T')
        filter.add(QStringLiteral("C.IDCTBLCTPAG = ?"), {c.accounted == u'C' ? "S" : "N"});
    return filter;
}

} // namespace

// One row past the limit is read, so that a fetch of exactly the limit passes.
DataPacket fetchCntPagar(QSqlDatabase &db, const CntPagarCriteria &criteria, int maxRows,
                         const QDate &today) {
    const Filter filter = buildFilter(isPostgres(db), criteria, today);
    const QString sql = selectCntPagar + filter.sql() +
                        QStringLiteral(" ORDER BY C.DTATUAVENPAG, C.CDFILIAL, C.NRLANCTONF, C.NRSEQVENPAG,"
                                       " C.NRPARCELAPAG LIMIT ?");
    const QVariantList values = QVariantList{criteria.company} + filter.values() + QVariantList{maxRows + 1};
    const DataPacket packet = selectPacket(db, sql, values, cntPagarFields(), {"VRATUAPAG", "VRNOTAFISC"});
    if (packet.rowCount() > maxRows)
        throw ServerFailure(
            QStringLiteral(
                "A busca encontrou mais de %1 contas a pagar, o máximo que o servidor envia de uma "
                "vez. Restrinja o filtro (fornecedores, filiais, tipos de conta, vencimento ou "
                "valores) e busque de novo.")
                .arg(QLocale(QLocale::Portuguese, QLocale::Brazil).toString(maxRows)));
    return packet;
}
