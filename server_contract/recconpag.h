#pragma once

#include "server_contract/fielddefs.h"

// The recalculation module "PAG00800.rdmRecConPag": its methods, their arguments in order and the
// fields of every packet it returns. Server and clients both build on these lists.
namespace RecConPag {

inline const QString serverName = QStringLiteral("PAG00800.rdmRecConPag");

// The instalment number that GetExistConta (four arguments), GetVrBoleto and GetCntProrrogada take by
// reference comes back in its stored two-digit form ("1" becomes "01").
namespace Method {
inline const QString GetExistConta = QStringLiteral("GetExistConta"); // 4 args: instalment; 3: due sequence
inline const QString GetTipoCnt = QStringLiteral("GetTipoCnt");       // CDFILIAL, NRLANCTONF
inline const QString GetVrBoleto = QStringLiteral("GetVrBoleto");     // key of 3 + instalment by reference
inline const QString GetCntProrrogada = QStringLiteral("GetCntProrrogada"); // as GetVrBoleto
inline const QString GETPerContabil = QStringLiteral("GETPerContabil");     // company code
inline const QString GetAjusPag =
    QStringLiteral("GetAjusPag"); // CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG
inline const QString GetCntPagar = QStringLiteral("GetCntPagar");         // the 26 arguments of CntPagarArg
inline const QString SetConfirmar = QStringLiteral("SetConfirmar");       // packet, operator, company
inline const QString GetLancContabil = QStringLiteral("GetLancContabil"); // CDEMPRESA, NRLANCCTB
// CDEMPRESA, NRAUDITRECALC (0: the signed-in operator's latest run in the company)
inline const QString GetAuditRecalc = QStringLiteral("GetAuditRecalc");
} // namespace Method

// Positions of the 26 arguments of GetCntPagar. Lists are texts by reference (listargs.h).
enum CntPagarArg {
    ArgEmpresa,       // text
    ArgListaForn,     // boolean: suppliers restricted to ArgFornecedores
    ArgFornecedores,  // list of CDFORNECED, by reference
    ArgNrDocuIni,     // text
    ArgNrDocuFin,     // text
    ArgDtEmissaoIni,  // date, 0 = open
    ArgDtEmissaoFin,  // date
    ArgDtEntradaIni,  // date
    ArgDtEntradaFin,  // date
    ArgListaFiliOrig, // boolean
    ArgFiliOrig,      // list of CDFILIAL, by reference
    ArgListaFiliLanc, // boolean
    ArgFiliLanc,      // list of CDFILIAL (posting branch), by reference
    ArgVrDocuIni,     // double
    ArgVrDocuFin,     // double; 0 to 0 = no restriction
    ArgVencIni,       // date
    ArgVencFin,       // date
    ArgVencidas,      // boolean: overdue
    ArgAVencer,       // boolean: not yet due
    ArgListaTpConta,  // boolean
    ArgTiposConta,    // list of CDTPCTPAGAR, by reference
    ArgVrOriginalIni, // double
    ArgVrOriginalFin, // double
    ArgVrLiquidoIni,  // double
    ArgVrLiquidoFin,  // double
    ArgContabil,      // "C", "N" or "T", by reference
    CntPagarArgCount
};

// Elements of the SetConfirmar answer.
enum ConfirmarResult {
    ResultStatus,
    ResultLancContTemp,
    ResultRateio,
    ResultErrosTemp,
    ConfirmarResultCount
};

// Elements of the GetLancContabil answer: the lines of a stored posting and their apportionment, in
// the packets of the SetConfirmar answer (lancContTempFields, rateioFields; debits positive).
enum LancContabilResult { LancContabilLinhas, LancContabilRateio, LancContabilResultCount };

inline const QString StatusOk = QStringLiteral("OK");
inline const QString StatusAltBloq = QStringLiteral("ALT_BLOQ");
inline const QString StatusErroContabilizacao = QStringLiteral("ERRO_CONTABILIZACAO");
inline const QString StatusAjustContab = QStringLiteral("AJUST_CONTAB");

using namespace contract;

// The payable rows of GetCntPagar (the client's calculated fields DOCUMENTO and IDCONTA excepted).
inline const QList<FieldDef> &cntPagarFields() {
    static const QList<FieldDef> fields = {
        fixedField("IDMARCADO", 1),    textField("DSCONTAPAG", 100),  textField("CDFILIAL", 4),
        textField("NRLANCTONF", 10),   textField("NRSEQVENPAG", 2),   dateField("DTATUAVENPAG"),
        textField("NMRAZSOCFORN", 40), textField("CDMOTIPROR", 2),    textField("CDMOTIPARC", 2),
        textField("IDSTATPAG", 1),     textField("CDTPCTPAGAR", 6),   floatField("VRATUAPAG"),
        textField("CDEMPRESA", 2),     textField("NRINSJURFORN", 20), textField("CDFORNECED", 21),
        textField("DSTPCTPAGAR", 40),  textField("CDSERIE", 5),       textField("CDFILIEMIT", 4),
        textField("NRNOTAFISC", 20),   textField("NRLANCTBDOC", 12),  textField("IDSTATUS", 1),
        floatField("VRNOTAFISC"),      dateField("DTENTRSAID"),       textField("CDFILIRECE", 4),
        textField("CDSERIEENTR", 5),   textField("NRPARCELAPAG", 2),  textField("NMFANTFORN", 40),
        textField("IDCTBLCTPAG", 1),
    };
    return fields;
}

inline const QList<FieldDef> &existContaFields() {
    static const QList<FieldDef> fields = {floatField("NRCNT")};
    return fields;
}

inline const QList<FieldDef> &existDocFields() {
    static const QList<FieldDef> fields = {floatField("NRDOC")};
    return fields;
}

inline const QList<FieldDef> &tipoCntFields() {
    static const QList<FieldDef> fields = {textField("IDSTATUS", 1, "DBNORVELA.NOTAFISCAL.IDSTATUS")};
    return fields;
}

inline const QList<FieldDef> &vrBoletoFields() {
    static const QList<FieldDef> fields = {floatField("VRATUAPAG"), textField("IDSITUCNABP", 2)};
    return fields;
}

inline const QList<FieldDef> &cntProrrogadaFields() {
    static const QList<FieldDef> fields = {dateField("DTATUAVENPAG", "DBNORVELA.CONTAPAGAR.DTATUAVENPAG")};
    return fields;
}

inline const QList<FieldDef> &perContabilFields() {
    static const QList<FieldDef> fields = {dateField("DTINICCTBL"), dateField("DTFINACCTBL")};
    return fields;
}

inline const QList<FieldDef> &ajusPagFields() {
    static const QList<FieldDef> fields = {
        textField("CDFILIAL", 4, "DBNORVELA.AJCTPAGAR.CDFILIAL"),
        textField("NRLANCTONF", 10, "DBNORVELA.AJCTPAGAR.NRLANCTONF"),
        textField("NRSEQVENPAG", 2, "DBNORVELA.AJCTPAGAR.NRSEQVENPAG"),
        dateField("DTAJUSTEPAG", "DBNORVELA.AJCTPAGAR.DTAJUSTEPAG"),
        textField("CDAJUCTPAG", 4, "DBNORVELA.AJCTPAGAR.CDAJUCTPAG"),
        textField("IDAJUCTPAG", 1, "DBNORVELA.TIPOAJPAGAR.IDAJUCTPAG"),
        textField("DSAJUCTPAG", 40, "DBNORVELA.TIPOAJPAGAR.DSAJUCTPAG"),
        textField("DSAJUSTEPAG", 20, "DBNORVELA.AJCTPAGAR.DSAJUSTEPAG"),
        floatField("VRAJUSTEPAG", "DBNORVELA.AJCTPAGAR.VRAJUSTEPAG"),
        textField("CDECTBAJPAG", 2, "DBNORVELA.AJCTPAGAR.CDECTBAJPAG"),
        textField("NRLCTBAJPAG", 12, "DBNORVELA.AJCTPAGAR.NRLCTBAJPAG"),
        textField("CDCLASSFINA", 6, "DBNORVELA.AJCTPAGAR.CDCLASSFINA"),
        textField("CDEMMFAJCNTP", 2, "DBNORVELA.AJCTPAGAR.CDEMMFAJCNTP"),
        textField("CDFIMFAJCNTP", 4, "DBNORVELA.AJCTPAGAR.CDFIMFAJCNTP"),
        dateField("DTMOVFLUXO", "DBNORVELA.AJCTPAGAR.DTMOVFLUXO"),
        textField("IDMOVFLUXO", 1, "DBNORVELA.AJCTPAGAR.IDMOVFLUXO"),
        textField("NRPARCELAPAG", 2, "DBNORVELA.AJCTPAGAR.NRPARCELAPAG"),
    };
    return fields;
}

// The three packets of the SetConfirmar answer.
inline const QList<FieldDef> &lancContTempFields() {
    static const QList<FieldDef> fields = {
        textField("CDEMPRESA", 2),      textField("CDCONTREDU", 20),   textField("NMCONTCTBL", 40),
        textField("NRLANCCTBTEMP", 20), textField("NRSEQCTBTEMP", 6),  textField("CDCONTCTBL", 20),
        textField("CDHISTPADR", 4),     textField("DSHISTCTB", 200),   dateField("DTLANCCTBTEMP"),
        floatField("VRLANCCTBTEMP"),    textField("IDLANCCTBCOME", 1), textField("CDLANCCTBCOME", 21),
        textField("NMEMPRESA", 40),     textField("CDDOCUCONT", 40),
    };
    return fields;
}

inline const QList<FieldDef> &rateioFields() {
    static const QList<FieldDef> fields = {
        textField("CDFILIAL", 4),       textField("NMFILIAL", 30),  textField("CDCENTCUST", 4),
        textField("NMCENTCUST", 40),    floatField("VRLANCCUST"),   textField("NRSEQCTBTEMP", 6),
        textField("NRLANCCTBTEMP", 12), dateField("DTCOMPCTBTEMP"), textField("CDEMPRESA", 2),
        textField("NRSEQRATTEMP", 5),
    };
    return fields;
}

inline const QList<FieldDef> &errosTempFields() {
    static const QList<FieldDef> fields = {textField("CDERROTEMP", 3), textField("NRSEQCTBTEMP", 5)};
    return fields;
}

// The GetAuditRecalc answer: one row per instalment of a recalculation answered "OK", with its posting
// number and total debits before and after the run (money as double).
inline const QList<FieldDef> &auditRecalcItemFields() {
    static const QList<FieldDef> fields = {
        floatField("NRAUDITRECALC"),   textField("CDFILIAL", 4),     textField("NRLANCTONF", 10),
        textField("NRSEQVENPAG", 2),   textField("NRPARCELAPAG", 2), textField("NRLANCANTES", 12),
        textField("NRLANCDEPOIS", 12), floatField("VRTOTANTES"),     floatField("VRTOTDEPOIS"),
    };
    return fields;
}

} // namespace RecConPag
