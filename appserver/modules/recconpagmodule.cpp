#include "appserver/modules/recconpagmodule.h"
#include "appserver/modules/cntpagarquery.h"
#include "appserver/modules/packetbuilder.h"
#include "appserver/recalc/recalc.h"
#include "server_contract/recconpag.h"

using namespace RecConPag;

namespace {

const QString instalmentWhere =
    QStringLiteral(" WHERE CDFILIAL = ? AND NRLANCTONF = ? AND NRSEQVENPAG = ? AND NRPARCELAPAG = ?");

// The adjustments of one instalment, in the order they were made.
const QString ajusPagSql = QStringLiteral(
    "SELECT A.CDFILIAL, A.NRLANCTONF, A.NRSEQVENPAG, A.DTAJUSTEPAG, A.CDAJUCTPAG, T.IDAJUCTPAG,"
    " T.DSAJUCTPAG, A.DSAJUSTEPAG, A.VRAJUSTEPAG, A.CDECTBAJPAG, A.NRLCTBAJPAG, A.CDCLASSFINA,"
    " A.CDEMMFAJCNTP, A.CDFIMFAJCNTP, A.DTMOVFLUXO, A.IDMOVFLUXO, A.NRPARCELAPAG"
    " FROM AJCTPAGAR A JOIN TIPOAJPAGAR T ON T.CDAJUCTPAG = A.CDAJUCTPAG"
    " WHERE A.CDFILIAL = ? AND A.NRLANCTONF = ? AND A.NRSEQVENPAG = ? AND A.NRPARCELAPAG = ?"
    " ORDER BY A.DTAJUSTEPAG, A.NRSEQAJUPAG");

// The lines of one stored posting as the recalculation answers them: debits positive, credits negative.
const QString postingLinesSql = QStringLiteral(
    "SELECT L.CDEMPRESA, P.CDCONTREDU, P.NMCONTCTBL, L.NRLANCCTB, L.NRSEQCTB, L.CDCONTCTBL, L.CDHISTPADR,"
    " L.DSHISTCTB, L.DTLANCCTB, CASE WHEN L.IDDEBCRED = 'D' THEN L.VRLANCCTB ELSE -L.VRLANCCTB END,"
    " L.IDLANCCTBCOME, L.CDLANCCTBCOME, E.NMEMPRESA, L.CDDOCUCONT"
    " FROM LANCCONTABIL L JOIN EMPRESA E ON E.CDEMPRESA = L.CDEMPRESA"
    " LEFT JOIN PLANOCONTAS P ON P.CDCONTCTBL = L.CDCONTCTBL"
    " WHERE L.CDEMPRESA = ? AND L.NRLANCCTB = ? ORDER BY L.NRSEQCTB");

// The parts of those lines, signed like their line.
const QString postingSplitsSql = QStringLiteral(
    "SELECT R.CDFILIAL, F.NMFILIAL, R.CDCENTCUST, C.NMCENTCUST,"
    " CASE WHEN L.IDDEBCRED = 'D' THEN R.VRLANCCUST ELSE -R.VRLANCCUST END, R.NRSEQCTB, R.NRLANCCTB,"
    " L.DTLANCCTB, R.CDEMPRESA, R.NRSEQRAT"
    " FROM RATEIOLANC R JOIN LANCCONTABIL L"
    " ON L.CDEMPRESA = R.CDEMPRESA AND L.NRLANCCTB = R.NRLANCCTB AND L.NRSEQCTB = R.NRSEQCTB"
    " LEFT JOIN FILIAL F ON F.CDFILIAL = R.CDFILIAL LEFT JOIN CENTROCUSTO C ON C.CDCENTCUST = R.CDCENTCUST"
    " WHERE R.CDEMPRESA = ? AND R.NRLANCCTB = ? ORDER BY R.NRSEQCTB, R.NRSEQRAT");

// The instalments of one recorded run of the company, with their totals before and after.
const QString auditItemsSql = QStringLiteral(
    "SELECT I.NRAUDITRECALC, I.CDFILIAL, I.NRLANCTONF, I.NRSEQVENPAG, I.NRPARCELAPAG, I.NRLANCANTES,"
    " I.NRLANCDEPOIS, I.VRTOTANTES, I.VRTOTDEPOIS FROM AUDITRECALCITEM I"
    " JOIN AUDITRECALC A ON A.NRAUDITRECALC = I.NRAUDITRECALC"
    " WHERE A.CDEMPRESA = ? AND A.NRAUDITRECALC = ?"
    " ORDER BY I.CDFILIAL, I.NRLANCTONF, I.NRSEQVENPAG, I.NRPARCELAPAG");

QString twoDigitNumber(const QString &number) {
    return number.size() == 1 && number.at(0).isDigit() ? QLatin1Char('0') + number : number;
}

} // namespace

RecConPagModule::RecConPagModule(int maxFetchRows)
    : m_maxFetchRows(maxFetchRows) {
    using namespace std::placeholders;
    addMethod(Method::GetExistConta, std::bind(&RecConPagModule::getExistConta, this, _1, _2));
    addMethod(Method::GetTipoCnt, std::bind(&RecConPagModule::getTipoCnt, this, _1, _2));
    addMethod(Method::GetVrBoleto, std::bind(&RecConPagModule::getVrBoleto, this, _1, _2));
    addMethod(Method::GetCntProrrogada, std::bind(&RecConPagModule::getCntProrrogada, this, _1, _2));
    addMethod(Method::GETPerContabil, std::bind(&RecConPagModule::getPerContabil, this, _1, _2));
    addMethod(Method::GetAjusPag, std::bind(&RecConPagModule::getAjusPag, this, _1, _2));
    addMethod(Method::GetCntPagar, std::bind(&RecConPagModule::getCntPagar, this, _1, _2));
    addMethod(Method::SetConfirmar, std::bind(&RecConPagModule::setConfirmar, this, _1, _2));
    addMethod(Method::GetLancContabil, std::bind(&RecConPagModule::getLancContabil, this, _1, _2));
    addMethod(Method::GetAuditRecalc, std::bind(&RecConPagModule::getAuditRecalc, this, _1, _2));
}

QString RecConPagModule::serverName() const {
    return RecConPag::serverName;
}

QVariantList RecConPagModule::instalmentKey(CallArgs &args, CallContext &ctx) {
    requireBranch(ctx, args.text(0));
    const QString instalment = twoDigitNumber(args.text(3));
    if (instalment != args.text(3))
        args.setReference(3, instalment);
    return {args.text(0), args.text(1), args.text(2), instalment};
}

QVariant RecConPagModule::getExistConta(CallArgs &args, CallContext &ctx) {
    args.expectCount(Method::GetExistConta, {3, 4});
    if (args.count() == 4) {
        return packetVariant(select(ctx, "SELECT COUNT(*) FROM CONTAPAGAR" + instalmentWhere,
                                    instalmentKey(args, ctx), existContaFields()));
    }
    requireBranch(ctx, args.text(0));
    return packetVariant(select(
        ctx, "SELECT COUNT(*) FROM CONTAPAGAR WHERE CDFILIAL = ? AND NRLANCTONF = ? AND NRSEQVENPAG = ?",
        {args.text(0), args.text(1), args.text(2)}, existDocFields()));
}

QVariant RecConPagModule::getTipoCnt(CallArgs &args, CallContext &ctx) {
    args.expectCount(Method::GetTipoCnt, {2});
    requireBranch(ctx, args.text(0));
    return packetVariant(select(ctx, "SELECT IDSTATUS FROM NOTAFISCAL WHERE CDFILIAL = ? AND NRLANCTONF = ?",
                                {args.text(0), args.text(1)}, tipoCntFields()));
}

QVariant RecConPagModule::getVrBoleto(CallArgs &args, CallContext &ctx) {
    args.expectCount(Method::GetVrBoleto, {4});
    return packetVariant(select(ctx, "SELECT VRATUAPAG, IDSITUCNABP FROM CONTAPAGAR" + instalmentWhere,
                                instalmentKey(args, ctx), vrBoletoFields(), {"VRATUAPAG"}));
}

QVariant RecConPagModule::getCntProrrogada(CallArgs &args, CallContext &ctx) {
    args.expectCount(Method::GetCntProrrogada, {4});
    return packetVariant(select(ctx, "SELECT DTATUAVENPAG FROM CONTAPAGAR" + instalmentWhere,
                                instalmentKey(args, ctx), cntProrrogadaFields()));
}

// Answers for any company: the screen asks for the period of a company picked from the list before
// it checks the operator's right to it.
QVariant RecConPagModule::getPerContabil(CallArgs &args, CallContext &ctx) {
    args.expectCount(Method::GETPerContabil, {1});
    return packetVariant(
        select(ctx, "SELECT DTINICCTBL, DTFINACCTBL FROM PERCONTABIL WHERE CDEMPRESA = ? AND IDSITUPER = 'A'",
               {args.text(0)}, perContabilFields()));
}

QVariant RecConPagModule::getAjusPag(CallArgs &args, CallContext &ctx) {
    args.expectCount(Method::GetAjusPag, {4});
    requireBranch(ctx, args.text(0));
    return packetVariant(select(ctx, ajusPagSql, {args.text(0), args.text(1), args.text(2), args.text(3)},
                                ajusPagFields(), {"VRAJUSTEPAG"}));
}

QVariant RecConPagModule::getCntPagar(CallArgs &args, CallContext &ctx) {
    args.expectCount(Method::GetCntPagar, {CntPagarArgCount});
    const CntPagarCriteria criteria = CntPagarCriteria::fromArgs(args);
    requireCompany(ctx, criteria.company);
    criteria.writeBack(args);
    return packetVariant(fetchCntPagar(ctx.db, criteria, m_maxFetchRows));
}

QVariant RecConPagModule::setConfirmar(CallArgs &args, CallContext &ctx) {
    args.expectCount(Method::SetConfirmar, {3});
    const DataPacket payables = args.packet(0);
    const QString operatorCode = args.text(1);
    const QString company = args.text(2);
    if (operatorCode.compare(ctx.operatorCode, Qt::CaseInsensitive) != 0)
        throw ServerFailure(QStringLiteral("O operador informado não é o operador conectado."));
    requireCompany(ctx, company);
    for (const QString &field :
         QStringList{"IDMARCADO", "CDFILIAL", "NRLANCTONF", "NRSEQVENPAG", "NRPARCELAPAG"})
        if (payables.fieldIndex(field) < 0)
            throw BadCall(QStringLiteral("O pacote de contas não tem o campo %1.").arg(field));
    const RecalcResult result = recalculate(ctx.db, payables, ctx.operatorCode, company);
    return QVariantList{result.status, packetVariant(result.entries), packetVariant(result.apportionment),
                        packetVariant(result.errors)};
}

QVariant RecConPagModule::getLancContabil(CallArgs &args, CallContext &ctx) {
    args.expectCount(Method::GetLancContabil, {2});
    const QVariantList key{args.text(0), args.text(1)};
    requireCompany(ctx, args.text(0));
    const DataPacket lines = select(ctx, postingLinesSql, key, lancContTempFields(), {"VRLANCCTBTEMP"});
    const DataPacket splits = select(ctx, postingSplitsSql, key, rateioFields(), {"VRLANCCUST"});
    return QVariantList{packetVariant(lines), packetVariant(splits)};
}

QVariant RecConPagModule::getAuditRecalc(CallArgs &args, CallContext &ctx) {
    args.expectCount(Method::GetAuditRecalc, {2});
    const QString company = args.text(0);
    requireCompany(ctx, company);
    qint64 number = qint64(args.number(1));
    if (number == 0) {
        const QVariantList latest =
            firstRow(ctx, "SELECT MAX(NRAUDITRECALC) FROM AUDITRECALC WHERE CDEMPRESA = ? AND CDOPERADOR = ?",
                     {company, ctx.operatorCode});
        number = latest.isEmpty() ? 0 : latest.at(0).toLongLong();
    }
    return packetVariant(select(ctx, auditItemsSql, {company, number}, auditRecalcItemFields(),
                                {"VRTOTANTES", "VRTOTDEPOIS"}));
}
