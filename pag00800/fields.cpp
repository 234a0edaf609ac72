#include "pag00800/fields.h"

#include "server_contract/recconpag.h"

namespace {

const QString moneyFormat = QStringLiteral("#,##0.00");

struct Look {
    const char *name;
    QString label;
    bool visible = true;
    QString format = {};
};

// Applies the looks to the fields; a field without a look is hidden.
QList<FieldDef> withLooks(QList<FieldDef> fields, const QList<Look> &looks) {
    for (FieldDef &def : fields) {
        def.visible = false;
        for (const Look &look : looks)
            if (def.name == QLatin1String(look.name)) {
                def.displayLabel = look.label;
                def.visible = look.visible;
                def.displayFormat = look.format;
            }
    }
    return fields;
}

FieldDef calculatedText(const char *name, int size) {
    FieldDef def = contract::textField(name, size);
    def.calculated = true;
    def.providerFlags = false;
    return def;
}

void insertAfter(QList<FieldDef> &fields, const QString &name, const FieldDef &def) {
    for (int i = 0; i < fields.size(); ++i)
        if (fields.at(i).name == name) {
            fields.insert(i + 1, def);
            return;
        }
}

FieldDef &fieldNamed(QList<FieldDef> &fields, const QString &name) {
    for (FieldDef &def : fields)
        if (def.name == name)
            return def;
    throw std::invalid_argument("unknown field " + name.toStdString());
}

} // namespace

namespace RecCtPagarFields {

QList<FieldDef> cntPagar() {
    QList<FieldDef> fields = RecConPag::cntPagarFields();
    insertAfter(fields, QStringLiteral("NRLANCTONF"), calculatedText("DOCUMENTO", 23));
    insertAfter(fields, QStringLiteral("DTENTRSAID"), calculatedText("IDCONTA", 70));
    fields = withLooks(fields, {
                                   {"IDMARCADO", QStringLiteral("IDMARCADO"), false},
                                   {"DOCUMENTO", QStringLiteral("Doc. / Série")},
                                   {"DTATUAVENPAG", QStringLiteral("Vencimento")},
                                   {"NMRAZSOCFORN", QStringLiteral("Fornecedor")},
                                   {"VRATUAPAG", QStringLiteral("Valor"), true, moneyFormat},
                                   {"IDCONTA", QStringLiteral("IDCONTA"), false},
                                   {"NRPARCELAPAG", QStringLiteral("Parc.")},
                               });
    // The mark is the client's own: it never builds server updates.
    fieldNamed(fields, QStringLiteral("IDMARCADO")).providerFlags = false;
    fieldNamed(fields, QStringLiteral("NRPARCELAPAG")).alignment = Qt::AlignRight;
    return fields;
}

QList<FieldDef> ajusPag() {
    QList<FieldDef> fields =
        withLooks(RecConPag::ajusPagFields(), {
                                                  {"DTAJUSTEPAG", QStringLiteral("Data")},
                                                  {"CDAJUCTPAG", QStringLiteral("Tipo de Ajuste")},
                                                  {"IDAJUCTPAG", QStringLiteral("Acre/Desc")},
                                                  {"DSAJUSTEPAG", QStringLiteral("Descrição")},
                                                  {"VRAJUSTEPAG", QStringLiteral("Valor"), true, moneyFormat},
                                              });
    FieldDef &type = fieldNamed(fields, QStringLiteral("CDAJUCTPAG"));
    type.displayWidth = 4;
    type.editMask = QStringLiteral("9999;0; ");
    return fields;
}

QList<FieldDef> lancContTemp() {
    return withLooks(RecConPag::lancContTempFields(),
                     {
                         {"CDEMPRESA", QStringLiteral("Empresa")},
                         {"CDCONTREDU", QStringLiteral("C. Reduzido")},
                         {"NMCONTCTBL", QStringLiteral("Nome")},
                         {"CDCONTCTBL", QStringLiteral("Conta Contábil")},
                         {"CDHISTPADR", QStringLiteral("Histórico")},
                         {"DSHISTCTB", QStringLiteral("Descrição do Histórico")},
                         {"DTLANCCTBTEMP", QStringLiteral("Data"), false},
                         {"VRLANCCTBTEMP", QStringLiteral("Valor")},
                         {"IDLANCCTBCOME", QStringLiteral("ID"), false},
                         {"CDLANCCTBCOME", QStringLiteral("C. Comercial")},
                         {"NMEMPRESA", QStringLiteral("Empresa"), false},
                     });
}

QList<FieldDef> rateio() {
    return withLooks(RecConPag::rateioFields(), {
                                                    {"CDFILIAL", QStringLiteral("Filial")},
                                                    {"NMFILIAL", QStringLiteral("Nome da Filial")},
                                                    {"CDCENTCUST", QStringLiteral("C. Custo")},
                                                    {"NMCENTCUST", QStringLiteral("Nome do Centro de Custo")},
                                                    {"VRLANCCUST", QStringLiteral("Valor"), false},
                                                    {"DTCOMPCTBTEMP", QStringLiteral("Data")},
                                                    {"CDEMPRESA", QString()},
                                                });
}

QList<FieldDef> errosTemp() {
    return RecConPag::errosTempFields();
}

} // namespace RecCtPagarFields
