#include "payables.h"

#include "framework/core/rowkey.h"

namespace {
FieldDef text(const char *name, int size, const char *label = "") {
    FieldDef def{QString::fromLatin1(name), FieldKind::Text, size};
    def.displayLabel = QString::fromUtf8(label);
    def.visible = !def.displayLabel.isEmpty();
    return def;
}

FieldDef number(const char *name, FieldKind kind, const char *label = "") {
    FieldDef def = text(name, 0, label);
    def.kind = kind;
    if (kind == FieldKind::Float)
        def.displayFormat = QStringLiteral("#,##0.00");
    return def;
}

const char *const suppliers[] = {"Distribuidora Horizonte Ltda", "Papelaria Central S.A.",
                                 "Transportes Rápidos ME",       "Energia do Vale S.A.",
                                 "Construtora Boa Obra Ltda",    "Serviços Gerais Paulista"};
const char *const types[] = {"Fornecedores", "Despesas Administrativas", "Impostos", "Serviços de Terceiros"};
} // namespace

QList<FieldDef> payableFields() {
    FieldDef marcado = text("IDMARCADO", 1);
    marcado.kind = FieldKind::FixedText;
    marcado.providerFlags = false;
    FieldDef documento = text("DOCUMENTO", 23, "Doc. / Série");
    documento.calculated = true;
    FieldDef idconta = text("IDCONTA", 70);
    idconta.calculated = true;
    return {marcado,
            text("DSCONTAPAG", 100),
            text("CDFILIAL", 4),
            text("NRLANCTONF", 10),
            documento,
            text("NRSEQVENPAG", 2),
            number("DTATUAVENPAG", FieldKind::DateTime, "Vencimento"),
            text("NMRAZSOCFORN", 40, "Fornecedor"),
            text("CDMOTIPROR", 2),
            text("CDMOTIPARC", 2),
            text("IDSTATPAG", 1),
            text("CDTPCTPAGAR", 6),
            number("VRATUAPAG", FieldKind::Float, "Valor"),
            text("CDEMPRESA", 2),
            text("NRINSJURFORN", 20),
            text("CDFORNECED", 21),
            text("DSTPCTPAGAR", 40),
            text("CDSERIE", 5),
            text("CDFILIEMIT", 4),
            text("NRNOTAFISC", 20),
            text("NRLANCTBDOC", 12),
            text("IDSTATUS", 1),
            number("VRNOTAFISC", FieldKind::Float),
            number("DTENTRSAID", FieldKind::DateTime),
            idconta,
            text("CDFILIRECE", 4),
            text("CDSERIEENTR", 5),
            text("NRPARCELAPAG", 2, "Parc."),
            text("NMFANTFORN", 40),
            text("IDCTBLCTPAG", 1)};
}

QList<PayableKey> syntheticKeys(int rowCount) {
    QList<PayableKey> keys;
    keys.reserve(rowCount);
    for (int row = 0; row < rowCount; ++row) {
        const QString instalment = QString::number(1 + row % 3).rightJustified(2, u'0');
        keys.append({QString::number(1 + row % 20).rightJustified(4, u'0'),
                     QString::number(1000000 + row / 3).rightJustified(10, u'0'), instalment, instalment});
    }
    return keys;
}

DataPacket payablePacket(int rowCount) {
    return payablePacket(syntheticKeys(rowCount));
}

DataPacket payablePacket(const QList<PayableKey> &keys) {
    QList<FieldDef> fields;
    for (const FieldDef &def : payableFields()) {
        if (!def.calculated)
            fields.append(def);
    }
    DataPacket packet(fields);
    for (int row = 0; row < keys.size(); ++row) {
        const auto &[filial, lancto, sequence, instalment] = keys[row];
        const QString supplier = QString::fromUtf8(suppliers[row % 6]);
        const QString type = QString::fromUtf8(types[row % 4]);
        const double value = (row * 7919 % 1000000) / 100.0;
        packet.appendRow({"N",
                          row % 5 ? QStringLiteral("Compra de materiais, pedido %1").arg(row) : QString(),
                          filial,
                          lancto,
                          sequence,
                          46000.0 + row % 365,
                          supplier,
                          "",
                          "",
                          "A",
                          QString::number(100 + row % 4),
                          value,
                          "01",
                          QString::number(10000000000000LL + row * 13),
                          QString::number(5000 + row % 600),
                          type,
                          "1",
                          filial,
                          QString::number(100000 + row),
                          QString::number(2026000000LL + row),
                          "N",
                          value * 3,
                          46000.0 + row % 300,
                          filial,
                          row % 2 ? QStringLiteral("UN") : QString(),
                          instalment,
                          supplier.left(18),
                          row % 3 ? "S" : "N"});
    }
    return packet;
}

void declarePayableFields(ClientDataSet &set) {
    for (const FieldDef &def : payableFields())
        set.addField(def);
}

QString payableKey(const DataPacket &packet, int row) {
    return packet.value(row, packet.fieldIndex(u"CDFILIAL")).toString() +
           packet.value(row, packet.fieldIndex(u"NRPARCELAPAG")).toString() +
           packet.value(row, packet.fieldIndex(u"NRLANCTONF")).toString() +
           packet.value(row, packet.fieldIndex(u"NRSEQVENPAG")).toString();
}

void connectMarkedSet(ClientDataSet &set, TKeyList &marked) {
    const Field *mark = set.fieldByName("IDMARCADO");
    const RowKey key(set, {"CDFILIAL", "NRPARCELAPAG", "NRLANCTONF", "NRSEQVENPAG"});
    QObject::connect(&set, &ClientDataSet::afterPost, &set,
                     [mark, key, &marked, posted = QString()]() mutable {
                         posted.truncate(0);
                         key.appendCurrent(posted);
                         if (mark->asString() == u"S")
                             marked.Add(posted, 0);
                         else
                             marked.Remove(posted);
                     });
}

void markAll(ClientDataSet &set) {
    Field *mark = set.fieldByName("IDMARCADO");
    set.disableControls();
    for (set.first(); !set.eof(); set.next()) {
        set.edit();
        mark->setAsString(QStringLiteral("S"));
        set.post();
    }
    set.enableControls();
}
