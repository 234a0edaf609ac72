#include "pag00801/listqueries.h"

#include "framework/session/adoibquery.h"

namespace {

FieldDef text(const char *name, int size, const char *label, bool visible = true, bool required = false) {
    return {.name = QString::fromLatin1(name),
            .size = size,
            .required = required,
            .displayLabel = QString::fromUtf8(label),
            .visible = visible};
}

// The statement on SQLite and, ordered by the codes' bytes as SQLite orders them, on PostgreSQL.
void setOrderedSQL(TADOIBQuery *query, const QString &select, const QString &orderColumn) {
    query->setSQL(select + QStringLiteral(" ORDER BY ") + orderColumn);
    query->setSQL(SqlDialect::PostgreSQL,
                  select + QStringLiteral(" ORDER BY ") + orderColumn + QStringLiteral(" COLLATE \"C\""));
}

} // namespace

void prepareFornecedorQuery(TADOIBQuery *query) {
    setOrderedSQL(
        query,
        QStringLiteral(
            "SELECT IDTPIJURFORN, NRINSJURFORN, NMFANTFORN, NMRAZSOCFORN, CDFORNECED FROM FORNECEDOR"),
        QStringLiteral("CDFORNECED"));
    query->addField(text("IDTPIJURFORN", 1, "", false));
    query->addField(text("NRINSJURFORN", 20, "Inscrição Jurídica"));
    query->addField(text("NMFANTFORN", 40, "Nome Fantasia"));
    query->addField(text("NMRAZSOCFORN", 40, "Razão Social"));
    query->addField(text("CDFORNECED", 21, "", false, true));
}

void prepareFilialQuery(TADOIBQuery *query) {
    setOrderedSQL(query, QStringLiteral("SELECT CDFILIAL, NMFILIAL FROM FILIAL"), QStringLiteral("CDFILIAL"));
    query->addField(text("CDFILIAL", 4, "Código", true, true));
    query->addField(text("NMFILIAL", 30, "Nome"));
}

void prepareTipoCtPagarQuery(TADOIBQuery *query) {
    query->setSQL(QStringLiteral("SELECT CDTPCTPAGAR, DSTPCTPAGAR FROM TIPOCTPAGAR"));
    query->addField(text("CDTPCTPAGAR", 6, "Código", true, true));
    query->addField(text("DSTPCTPAGAR", 40, "Descrição"));
}
