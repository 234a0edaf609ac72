#include "framework/session/selectionqueries.h"

#include "framework/session/adoibquery.h"

namespace {

QString lines(std::initializer_list<const char *> parts) {
    QStringList text;
    for (const char *part : parts)
        text << QString::fromUtf8(part);
    return text.join(u'\n');
}

void addText(TADOIBQuery *query, const char *name, int size, const char *label, bool visible = true,
             bool required = false) {
    FieldDef def;
    def.name = QString::fromLatin1(name);
    def.kind = FieldKind::Text;
    def.size = size;
    def.displayLabel = QString::fromUtf8(label);
    def.visible = visible;
    def.required = required;
    query->addField(def);
}

} // namespace

void prepareEmpresaQuery(TADOIBQuery *query) {
    query->setSQL(
        lines({"SELECT", "   CDEMPRESA,", "   NMEMPRESA,", "   CDCENTCUST", "FROM", "   EMPRESA", "WHERE",
               "   CDEMPRESA = COALESCE(:P_CDEMPRESA, CDEMPRESA)", "ORDER BY", "   CDEMPRESA"}));
    query->setSQL(SqlDialect::PostgreSQL,
                  lines({"SELECT", "   CDEMPRESA,", "   NMEMPRESA,", "   CDCENTCUST", "FROM", "   EMPRESA",
                         "WHERE", "   CDEMPRESA = COALESCE(CAST(:P_CDEMPRESA AS VARCHAR), CDEMPRESA)",
                         "ORDER BY", "   CDEMPRESA"}));
    query->setSQL(SqlDialect::Legacy,
                  lines({"SELECT", "   CDEMPRESA,", "   NMEMPRESA,", "   CDCENTCUST", "FROM", "   EMPRESA,",
                         "   PARAM(:P_CDEMPRESA) P_CDEMPRESA", "WHERE",
                         "   CDEMPRESA = NVLSTR(P_CDEMPRESA.PARAM,CDEMPRESA)", "ORDER BY", "   CDEMPRESA"}));
    query->setSQL(SqlDialect::Oracle,
                  lines({"SELECT", "   CDEMPRESA,", "   NMEMPRESA,", "   CDCENTCUST", "FROM", "   EMPRESA",
                         "WHERE", "   CDEMPRESA = NVL(:P_CDEMPRESA,CDEMPRESA)", "ORDER BY", "   CDEMPRESA"}));
    query->setSQL(
        SqlDialect::SqlServer,
        lines({"SELECT", "   CDEMPRESA,", "   NMEMPRESA,", "   CDCENTCUST", "FROM", "   EMPRESA", "WHERE",
               "   CDEMPRESA = ISNULL(:P_CDEMPRESA, CDEMPRESA)", "ORDER BY", "   CDEMPRESA "}));
    addText(query, "CDEMPRESA", 2, "Código", true, true);
    addText(query, "NMEMPRESA", 40, "Nome");
    addText(query, "CDCENTCUST", 4, "Código", false);
}

void prepareFornecedorQuery(TADOIBQuery *query) {
    query->setSQL(QStringLiteral("SELECT IDTPIJURFORN, NRINSJURFORN, NMFANTFORN, NMRAZSOCFORN, CDFORNECED "
                                 "FROM FORNECEDOR ORDER BY CDFORNECED"));
    addText(query, "IDTPIJURFORN", 1, "", false);
    addText(query, "NRINSJURFORN", 20, "Inscrição Jurídica");
    addText(query, "NMFANTFORN", 40, "Nome Fantasia");
    addText(query, "NMRAZSOCFORN", 40, "Razão Social");
    addText(query, "CDFORNECED", 21, "", false, true);
}

void prepareFilialQuery(TADOIBQuery *query) {
    query->setSQL(QStringLiteral("SELECT CDFILIAL, NMFILIAL FROM FILIAL ORDER BY CDFILIAL"));
    addText(query, "CDFILIAL", 4, "Código", true, true);
    addText(query, "NMFILIAL", 30, "Nome");
}

void prepareTipoCtPagarQuery(TADOIBQuery *query) {
    query->setSQL(QStringLiteral("SELECT CDTPCTPAGAR, DSTPCTPAGAR FROM TIPOCTPAGAR"));
    addText(query, "CDTPCTPAGAR", 6, "Código", true, true);
    addText(query, "DSTPCTPAGAR", 40, "Descrição");
}
