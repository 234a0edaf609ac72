#pragma once

#include "framework/core/dataset.h"
#include "framework/core/messages.h"
#include "framework/core/routines.h"
#include "qtprinters.h"

// A small payable dataset: key fields, a mark, a due date, a value and the two calculated fields
// the payable screen defines, computed the way it computes them.
struct PayableFixture {
    ClientDataSet set;
    TMessages messages;

    PayableFixture() {
        set.addField({"IDMARCADO", FieldKind::FixedText, 1});
        set.addField({"DSCONTAPAG", FieldKind::Text, 100});
        set.addField({"CDFILIAL", FieldKind::Text, 4});
        set.addField({"NRLANCTONF", FieldKind::Text, 10});
        FieldDef documento{"DOCUMENTO", FieldKind::Text, 23};
        documento.calculated = true;
        set.addField(documento);
        set.addField({"NRSEQVENPAG", FieldKind::Text, 2});
        set.addField({"DTATUAVENPAG", FieldKind::DateTime});
        FieldDef valor{"VRATUAPAG", FieldKind::Float};
        valor.displayFormat = "#,##0.00";
        set.addField(valor);
        set.addField({"DSTPCTPAGAR", FieldKind::Text, 40});
        set.addField({"NRNOTAFISC", FieldKind::Text, 20});
        FieldDef idconta{"IDCONTA", FieldKind::Text, 70};
        idconta.calculated = true;
        set.addField(idconta);
        set.addField({"CDSERIEENTR", FieldKind::Text, 5});
        set.addField({"NRPARCELAPAG", FieldKind::Text, 2});
        QObject::connect(&set, &ClientDataSet::calcFields, [this] { calculate(); });
    }

    void calculate() {
        auto text = [this](const char *name) { return set.fieldByName(name)->asString(); };
        if (set.savedState() != DataSetState::Edit) {
            const QString description =
                EmptyString(text("DSCONTAPAG")) ? text("DSTPCTPAGAR") : text("DSCONTAPAG");
            set.fieldByName(u"IDCONTA")
                ->setAsString(messages.Msg("Filial") + text("CDFILIAL") + " - " + messages.Msg("Conta") +
                              text("NRSEQVENPAG") + "." + text("NRPARCELAPAG") + " " +
                              formatShortDate(set.fieldByName(u"DTATUAVENPAG")->asDateTime()) + " " +
                              formatMoney(set.fieldByName(u"VRATUAPAG")->asFloat()) + " " + description);
        }
        const QString serie = text("CDSERIEENTR");
        set.fieldByName(u"DOCUMENTO")
            ->setAsString(EmptyString(serie) ? text("NRNOTAFISC") : text("NRNOTAFISC") + "/" + serie);
    }

    // Rows as the server sends them: IDMARCADO, DSCONTAPAG, CDFILIAL, NRLANCTONF, NRSEQVENPAG,
    // DTATUAVENPAG, VRATUAPAG, DSTPCTPAGAR, NRNOTAFISC, CDSERIEENTR, NRPARCELAPAG, and a field the
    // screen does not declare.
    static DataPacket packet() {
        DataPacket p({{"IDMARCADO", FieldKind::FixedText, 1},
                      {"DSCONTAPAG", FieldKind::Text, 100},
                      {"CDFILIAL", FieldKind::Text, 4},
                      {"NRLANCTONF", FieldKind::Text, 10},
                      {"NRSEQVENPAG", FieldKind::Text, 2},
                      {"DTATUAVENPAG", FieldKind::DateTime},
                      {"VRATUAPAG", FieldKind::Float},
                      {"DSTPCTPAGAR", FieldKind::Text, 40},
                      {"NRNOTAFISC", FieldKind::Text, 20},
                      {"CDSERIEENTR", FieldKind::Text, 5},
                      {"NRPARCELAPAG", FieldKind::Text, 2},
                      {"CDEXTRA", FieldKind::Text, 8}});
        p.appendRow({"N", "Aluguel", "0001", "0000000123", "01", 46096.0, 1234.5, "Despesas", "4567", "",
                     "01", "x1"});
        p.appendRow({"N", "", "0001", "0000000124", "01", 46100.0, 10.0, "Serviços", "12345678901234567890",
                     "ABCDE", "02", "x2"});
        p.appendRow(
            {"S", "Energia", "0002", "0000000125", "02", 46110.0, 99.99, "Despesas", "77", "1", "01", "x3"});
        p.appendRow(
            {"N", "energia", "0002", "0000000126", "01", 46120.0, 5.0, "Despesas", "78", "", "03", "x4"});
        return p;
    }
};
