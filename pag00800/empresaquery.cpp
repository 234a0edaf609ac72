#include "pag00800/empresaquery.h"

#include "framework/session/adoibquery.h"

namespace {

QString lines(std::initializer_list<const char *> parts) {
    QStringList text;
    for (const char *part : parts)
        text << QString::fromUtf8(part);
    return text.join(u'\n');
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
    query->addField({.name = QStringLiteral("CDEMPRESA"),
                     .size = 2,
                     .required = true,
                     .displayLabel = QStringLiteral("Código")});
    query->addField(
        {.name = QStringLiteral("NMEMPRESA"), .size = 40, .displayLabel = QStringLiteral("Nome")});
    query->addField({.name = QStringLiteral("CDCENTCUST"),
                     .size = 4,
                     .displayLabel = QStringLiteral("Código"),
                     .visible = false});
}
