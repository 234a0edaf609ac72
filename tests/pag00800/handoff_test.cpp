#include "companyscreen.h"
#include "tests/framework/core/qtprinters.h"

#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "server_contract/recconpag.h"

#include <QTest>

namespace {

QStringList fieldNames(const QList<FieldDef> &fields) {
    QStringList names;
    for (const FieldDef &def : fields)
        names << def.name;
    return names;
}

DataPacket oneRow(const QList<FieldDef> &fields) {
    DataPacket packet(fields);
    packet.appendRow(QVariantList(fields.size(), QStringLiteral("1")));
    return packet;
}

} // namespace

// The screen hands the accounting preview over to a package that records what it got.
class HandOff : public CompanyScreenTest {
protected:
    // Clicks sbtContab and returns the five elements the preview received.
    QVariantList clickContab() {
        EXPECT_TRUE(screen->sbtContab->isEnabled());
        const int calls = preview->count();
        QTest::mouseClick(screen->sbtContab, Qt::LeftButton);
        EXPECT_EQ(preview->count(), calls + 1);
        return preview->params();
    }

    static DataPacket packetAt(const QVariantList &params, int index) {
        return params.value(index).value<DataPacket>();
    }
};

TEST_F(HandOff, OnTheGridPageTheCurrentPayablesPostingGoesWithEmptyPackets) {
    data.addInstalment(company, "710", 1000);
    const PayableData::Key posted = data.addInstalment(company, "711", 2000);
    data.exec("UPDATE CONTAPAGAR SET NRLANCTBDOC = '000000000042' WHERE NRLANCTONF = ? AND CDFILIAL = ?",
              {posted.entry, posted.branch});
    load();
    ASSERT_TRUE(screen->cdsCntPagar->locate("NRLANCTONF", {posted.entry}));
    // What a run left in the scratch datasets is not handed on.
    screen->cdsLancContTemp->setData(oneRow(RecConPag::lancContTempFields()));
    screen->cdsRateio->setData(oneRow(RecConPag::rateioFields()));
    screen->cdsErrosTemp->setData(oneRow(RecConPag::errosTempFields()));

    const QVariantList params = clickContab();
    ASSERT_EQ(params.size(), 5);
    EXPECT_EQ(params.at(0), QVariant(company));
    EXPECT_EQ(params.at(1), QVariant(QStringLiteral("000000000042")));
    const QList<QList<FieldDef>> layouts = {RecConPag::lancContTempFields(), RecConPag::rateioFields(),
                                            RecConPag::errosTempFields()};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(params.at(2 + i).metaType(), QMetaType::fromType<DataPacket>());
        EXPECT_EQ(fieldNames(packetAt(params, 2 + i).fields()), fieldNames(layouts.at(i)));
        EXPECT_EQ(packetAt(params, 2 + i).rowCount(), 0);
    }
    for (ClientDataSet *scratch : {screen->cdsLancContTemp, screen->cdsRateio, screen->cdsErrosTemp}) {
        EXPECT_TRUE(scratch->active());
        EXPECT_EQ(scratch->recordCount(), 0);
    }
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(HandOff, OnTheAdjustmentsPageTheCurrentAdjustmentsPostingGoes) {
    const PayableData::Key key = data.addInstalment(company, "720", 5000);
    data.addAdjustment(key, 1, 100, QStringLiteral("000000000077"));
    load();
    const QVariant adjustments = screen->netRecContaPagar->call(
        RecConPag::Method::GetAjusPag, {key.branch, key.entry, key.sequence, key.instalment});
    screen->cdsAjusPag->setData(CheckResultServ(adjustments, true, 0).value<DataPacket>());
    screen->pgcPadrao->setActivePage(screen->tshFormulario);

    QVariantList params = clickContab();
    ASSERT_EQ(params.size(), 5);
    EXPECT_EQ(params.at(0), QVariant(company));
    EXPECT_EQ(params.at(1), QVariant(QStringLiteral("000000000077")));

    // No adjustment under the cursor: no posting number.
    screen->cdsAjusPag->emptyDataSet();
    params = clickContab();
    ASSERT_EQ(params.size(), 5);
    EXPECT_EQ(params.at(0), QVariant(company));
    EXPECT_EQ(params.at(1), QVariant(QString()));
}
