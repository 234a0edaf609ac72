#include "framework/session/selectionqueries.h"

#include "framework/session/adoibquery.h"

namespace {

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
