#include "payablefixture.h"

#include "framework/core/datasource.h"
#include "framework/core/rowkey.h"

#include <gtest/gtest.h>
#include <memory>

namespace {
// Records the dataset's signals in order.
struct EventLog {
    QStringList events;
    explicit EventLog(ClientDataSet &set) {
        QObject::connect(&set, &ClientDataSet::afterOpen, [this] { events << "afterOpen"; });
        QObject::connect(&set, &ClientDataSet::afterClose, [this] { events << "afterClose"; });
        QObject::connect(&set, &ClientDataSet::afterScroll, [this] { events << "afterScroll"; });
        QObject::connect(&set, &ClientDataSet::afterPost, [this] { events << "afterPost"; });
        QObject::connect(&set, &ClientDataSet::stateChanged, [this] { events << "stateChanged"; });
        QObject::connect(&set, &ClientDataSet::layoutChanged, [this] { events << "layoutChanged"; });
        QObject::connect(&set, &ClientDataSet::dataChanged,
                         [this](int row) { events << QString("dataChanged %1").arg(row); });
    }
    QStringList take() { return std::exchange(events, {}); }
};
} // namespace

TEST(DataSet, LoadsNavigatesAndReloadsWithCloseAndOpenEvents) {
    PayableFixture f;
    EventLog log(f.set);
    f.set.setData(PayableFixture::packet());
    EXPECT_EQ(log.take(), QStringList({"layoutChanged", "stateChanged", "afterOpen", "afterScroll"}));
    EXPECT_TRUE(f.set.active());
    EXPECT_EQ(f.set.recordCount(), 4);
    EXPECT_TRUE(f.set.bof());
    EXPECT_EQ(f.set.fieldByName(u"nrlanctonf")->asString(), "0000000123");

    int visited = 0;
    for (f.set.first(); !f.set.eof(); f.set.next())
        ++visited;
    EXPECT_EQ(visited, 4);
    EXPECT_EQ(f.set.recNo(), 3);
    f.set.prior();
    EXPECT_EQ(f.set.recNo(), 2);
    EXPECT_FALSE(f.set.eof());
    f.set.setRecNo(99);
    EXPECT_EQ(f.set.recNo(), 3);
    log.take();

    f.set.setData(PayableFixture::packet());
    EXPECT_EQ(log.take(), QStringList({"layoutChanged", "stateChanged", "afterClose", "layoutChanged",
                                       "stateChanged", "afterOpen", "afterScroll"}));
    EXPECT_EQ(f.set.recNo(), 0);
    f.set.close();
    EXPECT_EQ(log.take(), QStringList({"layoutChanged", "stateChanged", "afterClose"}));
    EXPECT_TRUE(f.set.isEmpty());
    EXPECT_EQ(f.set.fieldByName(u"CDFILIAL")->asString(), "");
    EXPECT_THROW(f.set.fieldByName(u"NOPE"), std::invalid_argument);
    EXPECT_EQ(f.set.findField(u"NOPE"), nullptr);
}

TEST(DataSet, EditPostCancelAndCutOnStore) {
    PayableFixture f;
    f.set.setData(PayableFixture::packet());
    EventLog log(f.set);
    f.set.next();
    f.set.edit();
    f.set.fieldByName(u"IDMARCADO")->setAsString("SIM");
    f.set.fieldByName(u"VRATUAPAG")->setAsString("1.234,5");
    EXPECT_EQ(f.set.fieldByName(u"IDMARCADO")->asString(), "S");
    f.set.post();
    EXPECT_EQ(log.take(),
              QStringList({"afterScroll", "stateChanged", "dataChanged 1", "stateChanged", "afterPost"}));
    EXPECT_DOUBLE_EQ(f.set.fieldByName(u"VRATUAPAG")->asFloat(), 1234.5);

    f.set.edit();
    f.set.fieldByName(u"IDMARCADO")->setAsString("N");
    f.set.cancel();
    EXPECT_EQ(f.set.fieldByName(u"IDMARCADO")->asString(), "S");
    EXPECT_THROW(f.set.fieldByName(u"IDMARCADO")->setAsString("N"), std::logic_error); // browse state

    // Moving posts a pending edit.
    f.set.edit();
    f.set.fieldByName(u"DSCONTAPAG")->setAsString(QString(150, 'x'));
    f.set.first();
    EXPECT_EQ(f.set.state(), DataSetState::Browse);
    EXPECT_EQ(f.set.valueAt(1, f.set.fieldByName(u"DSCONTAPAG")->index()).toString(), QString(100, 'x'));
}

TEST(DataSet, DataKeepsUndeclaredFieldsAndAppendedRowsButNotCalculatedOnes) {
    PayableFixture f;
    f.set.addField({"CDEMPRESA", FieldKind::Text, 2}); // not in the packet
    f.set.setData(PayableFixture::packet());
    EXPECT_TRUE(f.set.fieldByName(u"CDEMPRESA")->isNull());
    f.set.edit();
    f.set.fieldByName(u"IDMARCADO")->setAsString("S");
    f.set.post();
    f.set.append();
    f.set.fieldByName(u"CDFILIAL")->setAsString("0009");
    f.set.fieldByName(u"DTATUAVENPAG")->setAsString("15/03/2026");
    f.set.post();
    EXPECT_EQ(f.set.recordCount(), 5);
    EXPECT_EQ(f.set.recNo(), 4);

    const DataPacket out = f.set.data();
    EXPECT_EQ(out.rowCount(), 5);
    EXPECT_EQ(out.fieldIndex(u"DOCUMENTO"), -1);
    EXPECT_EQ(out.fieldIndex(u"IDCONTA"), -1);
    const int extra = out.fieldIndex(u"CDEXTRA");
    ASSERT_GE(extra, 0);
    EXPECT_EQ(out.value(3, extra).toString(), "x4");
    EXPECT_FALSE(out.value(4, extra).isValid());
    EXPECT_EQ(out.value(0, out.fieldIndex(u"IDMARCADO")).toString(), "S");
    EXPECT_EQ(out.value(4, out.fieldIndex(u"DTATUAVENPAG")).toDouble(), 46096.0);
    f.set.edit();
    f.set.fieldByName("DTATUAVENPAG")->setAsString("15/03/2026 18:00");
    EXPECT_DOUBLE_EQ(f.set.fieldByName("DTATUAVENPAG")->asDateTime(), 46096.75);
    EXPECT_EQ(f.set.fieldByName("DTATUAVENPAG")->asString(), "15/03/2026 18:00:00");
    EXPECT_THROW(f.set.fieldByName("DTATUAVENPAG")->setAsString("31/02/2026"), std::invalid_argument);
    f.set.fieldByName("DTATUAVENPAG")->setAsString("  /  /    ");
    EXPECT_TRUE(f.set.fieldByName("DTATUAVENPAG")->isNull());
    f.set.cancel();

    // The returned packet loads back into a fresh dataset with the same content.
    ClientDataSet copy;
    copy.setData(DataPacket::decode(out.encode()));
    EXPECT_EQ(copy.recordCount(), 5);
    copy.last();
    EXPECT_EQ(copy.fieldByName(u"CDFILIAL")->asString(), "0009");

    f.set.emptyDataSet();
    EXPECT_TRUE(f.set.isEmpty());
    EXPECT_TRUE(f.set.active());
    EXPECT_EQ(f.set.data().rowCount(), 0);
}

TEST(DataSet, CalculatedFieldsFollowTheRowRead) {
    PayableFixture f;
    f.set.setData(PayableFixture::packet());
    Field *documento = f.set.fieldByName(u"DOCUMENTO");
    Field *idconta = f.set.fieldByName(u"IDCONTA");
    EXPECT_EQ(documento->asString(), "4567");
    EXPECT_EQ(idconta->asString(), "Filial0001 - Conta01.01 15/03/2026 1.234,50 Aluguel");
    f.set.next();
    EXPECT_EQ(documento->asString(), "12345678901234567890/AB"); // cut to 23
    EXPECT_TRUE(idconta->asString().endsWith(" 10,00 Serviços"));

    // Reading other rows neither moves the cursor nor scrolls.
    int scrolls = 0;
    QObject::connect(&f.set, &ClientDataSet::afterScroll, [&scrolls] { ++scrolls; });
    EXPECT_EQ(f.set.valueAt(2, documento->index()).toString(), "77/1");
    EXPECT_EQ(f.set.displayTextAt(2, f.set.fieldByName(u"VRATUAPAG")->index()), "99,99");
    EXPECT_EQ(f.set.displayTextAt(2, f.set.fieldByName(u"DTATUAVENPAG")->index()), "29/03/2026");
    EXPECT_EQ(f.set.recNo(), 1);
    EXPECT_EQ(scrolls, 0);

    // Calculated fields are recalculated after a post; while editing the handler sees Edit.
    f.set.edit();
    f.set.fieldByName(u"CDSERIEENTR")->setAsString("");
    EXPECT_EQ(documento->asString(), "12345678901234567890");
    EXPECT_EQ(idconta->asString(), "");
    f.set.post();
    EXPECT_EQ(documento->asString(), "12345678901234567890");
    EXPECT_FALSE(idconta->asString().isEmpty());
    EXPECT_THROW(documento->setAsString("x"), std::logic_error);
}

TEST(DataSet, GetTextHandlerReadsTheRowAsked) {
    PayableFixture f;
    f.set.setData(PayableFixture::packet());
    Field *marcado = f.set.fieldByName(u"IDMARCADO");
    marcado->setOnGetText([](Field &field) { return field.asString() == "S" ? "Marcado" : ""; });
    EXPECT_EQ(f.set.displayTextAt(2, marcado->index()), "Marcado");
    EXPECT_EQ(f.set.displayTextAt(0, marcado->index()), "");
    EXPECT_EQ(marcado->displayText(), "");
}

TEST(DataSet, DisabledControlsHoldBackNotificationsUntilTheOutermostEnable) {
    PayableFixture f;
    f.set.setData(PayableFixture::packet());
    DataSource source;
    source.setDataSet(&f.set);
    QStringList forwarded;
    QObject::connect(&source, &DataSource::dataChanged, [&] { forwarded << "data"; });
    QObject::connect(&source, &DataSource::layoutChanged, [&] { forwarded << "layout"; });
    QObject::connect(&source, &DataSource::afterScroll, [&] { forwarded << "scroll"; });
    QObject::connect(&source, &DataSource::stateChanged, [&] { forwarded << "state"; });
    int posts = 0;
    QObject::connect(&f.set, &ClientDataSet::afterPost, [&posts] { ++posts; });

    f.set.disableControls();
    f.set.disableControls();
    for (f.set.first(); !f.set.eof(); f.set.next()) {
        f.set.edit();
        f.set.fieldByName(u"IDMARCADO")->setAsString("S");
        f.set.post();
        EXPECT_EQ(source.state(), DataSetState::Browse);
    }
    f.set.edit();
    EXPECT_EQ(source.state(), DataSetState::Edit);
    f.set.enableControls();
    EXPECT_TRUE(f.set.controlsDisabled());
    EXPECT_TRUE(forwarded.isEmpty());
    f.set.enableControls();
    EXPECT_FALSE(f.set.controlsDisabled());
    EXPECT_EQ(posts, 4);
    // One catch-up: the held-back layout, the state that differs, the row that moved.
    EXPECT_EQ(forwarded, QStringList({"layout", "state", "scroll"}));

    // Enabled again, each change is forwarded as it happens.
    forwarded.clear();
    f.set.post();
    f.set.prior();
    EXPECT_EQ(forwarded, QStringList({"data", "state", "scroll"}));

    // Back on the same row in the same state, nothing was missed.
    f.set.last();
    forwarded.clear();
    f.set.disableControls();
    f.set.first();
    f.set.last();
    f.set.enableControls();
    EXPECT_TRUE(forwarded.isEmpty());
    f.set.close();
    EXPECT_EQ(source.state(), DataSetState::Inactive);
}

// The dataset skips scrolls and state changes nobody listens to; whoever connects later, or again,
// hears every one from then on.
TEST(DataSet, ListenersConnectedLaterHearEveryLaterEvent) {
    PayableFixture f;
    f.set.setData(PayableFixture::packet());
    f.set.next();
    int scrolls = 0;
    int states = 0;
    QMetaObject::Connection scrolling =
        QObject::connect(&f.set, &ClientDataSet::afterScroll, [&scrolls] { ++scrolls; });
    auto listener = std::make_unique<QObject>();
    QObject::connect(&f.set, &ClientDataSet::stateChanged, listener.get(), [&states] { ++states; });
    f.set.next();
    f.set.edit();
    f.set.post();
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(states, 2);

    QObject::disconnect(scrolling);
    listener.reset();
    f.set.prior();
    f.set.edit();
    f.set.post();
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(states, 2);

    QObject::connect(&f.set, &ClientDataSet::afterScroll, [&scrolls] { ++scrolls; });
    QObject::connect(&f.set, &ClientDataSet::stateChanged, [&states] { ++states; });
    f.set.first();
    f.set.edit();
    EXPECT_EQ(scrolls, 2);
    EXPECT_EQ(states, 3);
}

TEST(DataSet, FieldsComeFromThePacketWhenNoneAreDeclared) {
    ClientDataSet set;
    set.setData(PayableFixture::packet());
    EXPECT_EQ(set.fieldCount(), 12);
    EXPECT_EQ(set.fieldByName(u"CDEXTRA")->asString(), "x1");
    set.setData(DataPacket({{"NRCNT", FieldKind::Float}}));
    EXPECT_EQ(set.fieldCount(), 1);
    EXPECT_TRUE(set.isEmpty());
    EXPECT_EQ(set.fieldByName(u"NRCNT")->asFloat(), 0);
}

TEST(DataSet, ReloadKeepsPacketFieldsAndTheFilter) {
    ClientDataSet set;
    set.setData(PayableFixture::packet());
    Field *marcado = set.fieldByName("IDMARCADO");
    set.setFilter("IDMARCADO = 'S'");
    set.setFiltered(true);
    EXPECT_EQ(set.recordCount(), 1);
    set.setData(PayableFixture::packet());
    EXPECT_EQ(set.fieldByName("IDMARCADO"), marcado);
    EXPECT_EQ(set.recordCount(), 1);

    // A packet of another shape whose fields the filter cannot name is refused before anything changes.
    EXPECT_THROW(set.setData(DataPacket({{"NRCNT", FieldKind::Float}})), std::invalid_argument);
    EXPECT_EQ(set.recordCount(), 1);
    EXPECT_EQ(set.fieldByName("IDMARCADO"), marcado);
}

TEST(DataSet, DataSourceReportsTheInterruptedStateDuringCalculation) {
    PayableFixture f;
    DataSource source;
    source.setDataSet(&f.set);
    QList<DataSetState> seen;
    QObject::connect(&f.set, &ClientDataSet::calcFields, [&] { seen << f.set.state() << source.state(); });
    f.set.setData(PayableFixture::packet());
    f.set.edit();
    f.set.fieldByName("DOCUMENTO")->asString();
    EXPECT_EQ(seen, QList<DataSetState>({DataSetState::CalcFields, DataSetState::Edit}));
}

TEST(DataSet, ManyEditsKeepTheirValuesAsTheOverlayGrows) {
    ClientDataSet set;
    set.addField({"NR", FieldKind::Integer});
    set.addField({"IDMARCADO", FieldKind::FixedText, 1});
    DataPacket packet(set.fieldDefs());
    for (int row = 0; row < 300; ++row)
        packet.appendRow({row, "N"});
    set.setData(packet);
    for (set.first(); !set.eof(); set.next()) {
        if (set.fieldByName("NR")->asInteger() % 3 == 0) {
            set.edit();
            set.fieldByName("IDMARCADO")->setAsString("S");
            set.post();
        }
    }
    set.append();
    set.fieldByName("NR")->setAsInteger(300);
    set.fieldByName("IDMARCADO")->setAsString("S");
    set.post();
    set.setRecNo(2);
    set.edit();
    set.fieldByName("IDMARCADO")->clear();
    set.post();

    const DataPacket out = set.data();
    ASSERT_EQ(out.rowCount(), 301);
    for (int row = 0; row < 301; ++row) {
        const QVariant mark = out.value(row, 1);
        if (row == 2)
            EXPECT_FALSE(mark.isValid());
        else
            EXPECT_EQ(mark.toString(), row % 3 == 0 ? "S" : "N") << row;
    }
    set.setFilter("IDMARCADO = 'S'");
    set.setFiltered(true);
    EXPECT_EQ(set.recordCount(), 101);
}

// A row key reads the same texts as asString on every path: a loaded row, a posted edit, an edit
// in progress, an appended row, accents, nulls and a field of another kind.
TEST(DataSet, RowKeyMatchesTheFieldTextsOnEveryRow) {
    PayableFixture fixture;
    ClientDataSet &set = fixture.set;
    DataPacket packet = PayableFixture::packet();
    packet.appendRow(
        {"N", "Ações", QVariant(), "0000000127", "01", 46130.0, 7.0, "Impostos", "79", "", "04", "x5"});
    set.setData(packet);
    const RowKey key(set, {"CDFILIAL", "DSCONTAPAG", "NRPARCELAPAG", "VRATUAPAG"});
    const auto expected = [&set] {
        return set.fieldByName("CDFILIAL")->asString() + set.fieldByName("DSCONTAPAG")->asString() +
               set.fieldByName("NRPARCELAPAG")->asString() + set.fieldByName("VRATUAPAG")->asString();
    };
    QStringList keys;
    for (set.first(); !set.eof(); set.next())
        keys << key.current();
    EXPECT_EQ(keys, QStringList({"0001Aluguel011234,5", "00010210", "0002Energia0199,99", "0002energia035",
                                 "Ações047"}));

    set.first();
    set.edit();
    set.fieldByName("CDFILIAL")->setAsString("0009");
    EXPECT_EQ(key.current(), "0009Aluguel011234,5");
    set.post();
    EXPECT_EQ(key.current(), expected());
    EXPECT_EQ(key.current(), "0009Aluguel011234,5");

    set.append();
    set.fieldByName("CDFILIAL")->setAsString("0003");
    set.fieldByName("NRPARCELAPAG")->setAsString("05");
    EXPECT_EQ(key.current(), "000305");
    set.post();
    EXPECT_EQ(key.current(), expected());
    EXPECT_THROW(RowKey(set, {"CDFILIAL", "NAOEXISTE"}), std::invalid_argument);
}

// Numbers and dates read the same from a loaded row, a null cell, an edit in progress, a posted
// edit, an appended row and a packet that holds them as texts.
TEST(DataSet, NumbersReadTheSameOnEveryPath) {
    PayableFixture f;
    DataPacket packet = PayableFixture::packet();
    packet.appendRow({"N", "", "0003", "0000000127", "01", QVariant(), QVariant(), "", "", "", "01", ""});
    f.set.setData(packet);
    Field *value = f.set.fieldByName("VRATUAPAG");
    Field *due = f.set.fieldByName("DTATUAVENPAG");
    QList<double> values;
    for (f.set.first(); !f.set.eof(); f.set.next())
        values << value->asFloat() << due->asDateTime();
    EXPECT_EQ(values, QList<double>({1234.5, 46096, 10, 46100, 99.99, 46110, 5, 46120, 0, 0}));

    f.set.edit();
    value->setAsFloat(7.25);
    EXPECT_EQ(value->asFloat(), 7.25);
    f.set.post();
    EXPECT_EQ(value->asFloat(), 7.25);
    EXPECT_EQ(f.set.fieldByName("IDCONTA")->asString(), "Filial0003 - Conta01.01  7,25 ");
    f.set.append();
    due->setAsDateTime(46200);
    f.set.post();
    EXPECT_EQ(due->asDateTime(), 46200);
    EXPECT_EQ(value->asFloat(), 0);

    ClientDataSet texts;
    texts.addField({"VRATUAPAG", FieldKind::Float});
    DataPacket asTexts({{"VRATUAPAG", FieldKind::Text, 10}});
    asTexts.appendRow({"12.5"});
    texts.setData(asTexts);
    EXPECT_EQ(texts.fieldByName("VRATUAPAG")->asFloat(), 12.5);
}

// A required field refuses a post without a value, whether declared in code or taken from the
// packet, and stops being required once the fields are cleared and declared again.
TEST(DataSet, PostRefusesAnEmptyRequiredField) {
    ClientDataSet set;
    FieldDef code{"CDFORNECED", FieldKind::Text, 10};
    code.required = true;
    set.addField(code);
    set.addField({"NMFORNECED", FieldKind::Text, 40});
    set.createDataSet();
    set.append();
    set.fieldByName("NMFORNECED")->setAsString("Papelaria Central");
    try {
        set.post();
        FAIL() << "post accepted an empty required field";
    } catch (const std::invalid_argument &refusal) {
        EXPECT_STREQ(refusal.what(), "O campo CDFORNECED precisa de um valor.");
    }
    EXPECT_EQ(set.state(), DataSetState::Insert);
    set.fieldByName("CDFORNECED")->setAsString("0042");
    set.post();
    EXPECT_EQ(set.recordCount(), 1);

    ClientDataSet fromPacket;
    fromPacket.setData(set.data());
    fromPacket.append();
    EXPECT_THROW(fromPacket.post(), std::invalid_argument);
    fromPacket.cancel();
    fromPacket.close();
    fromPacket.clearFields();
    fromPacket.addField({"CDFORNECED", FieldKind::Text, 10});
    fromPacket.createDataSet();
    fromPacket.append();
    fromPacket.post();
    EXPECT_EQ(fromPacket.recordCount(), 1);
}
