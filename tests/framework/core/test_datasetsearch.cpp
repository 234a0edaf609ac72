#include "payablefixture.h"

#include "framework/core/keylist.h"

#include <gtest/gtest.h>

namespace {
const QString keyFields = "CDFILIAL;NRLANCTONF;NRSEQVENPAG;NRPARCELAPAG";
}

TEST(Locate, FindsByManyFieldsAndMovesOnlyWhenFound) {
    PayableFixture f;
    f.set.setData(PayableFixture::packet());
    int scrolls = 0;
    QObject::connect(&f.set, &ClientDataSet::afterScroll, [&scrolls] { ++scrolls; });

    EXPECT_TRUE(f.set.locate(keyFields, {"0002", "0000000126", "01", "03"}));
    EXPECT_EQ(f.set.recNo(), 3);
    EXPECT_EQ(scrolls, 1);
    EXPECT_FALSE(f.set.locate(keyFields, {"0002", "0000000126", "01", "04"}));
    EXPECT_EQ(f.set.recNo(), 3);
    EXPECT_EQ(scrolls, 1);

    EXPECT_FALSE(f.set.locate("DSCONTAPAG", {"ENERGIA"}));
    EXPECT_TRUE(f.set.locate("dscontapag", {"ENERGIA"}, LocateOption::CaseInsensitive));
    EXPECT_EQ(f.set.recNo(), 2); // first match in view order
    EXPECT_TRUE(f.set.locate("VRATUAPAG;DTATUAVENPAG", {5.0, 46120.0}));
    EXPECT_EQ(f.set.recNo(), 3);
    EXPECT_TRUE(f.set.locate("DOCUMENTO", {"77/1"}));
    EXPECT_EQ(f.set.recNo(), 2);
    EXPECT_THROW(f.set.locate("CDFILIAL;NRLANCTONF", {"0001"}), std::invalid_argument);
    EXPECT_THROW(f.set.locate("NOPE", {"0001"}), std::invalid_argument);
}

TEST(Locate, SeesEditedCells) {
    PayableFixture f;
    f.set.setData(PayableFixture::packet());
    f.set.edit();
    f.set.fieldByName(u"CDFILIAL")->setAsString("0099");
    f.set.post();
    f.set.last();
    EXPECT_TRUE(f.set.locate("CDFILIAL", {"0099"}));
    EXPECT_EQ(f.set.recNo(), 0);
    EXPECT_FALSE(f.set.locate("CDFILIAL;NRPARCELAPAG", {"0001", "01"}));
}

TEST(Filter, ViewsTheMarkedRowsAndStartsOnTheFirst) {
    PayableFixture f;
    f.set.setData(PayableFixture::packet());
    f.set.last();
    f.set.edit();
    f.set.fieldByName(u"IDMARCADO")->setAsString("S");
    f.set.post();

    f.set.setFilter("IDMARCADO = 'S'");
    f.set.setFiltered(true);
    EXPECT_EQ(f.set.recordCount(), 2);
    EXPECT_EQ(f.set.recNo(), 0);
    EXPECT_EQ(f.set.fieldByName(u"NRLANCTONF")->asString(), "0000000125");
    EXPECT_EQ(f.set.data().rowCount(), 4); // the packet holds every row whatever the filter
    EXPECT_FALSE(f.set.locate("NRLANCTONF", {"0000000123"}));

    f.set.setFilter("cdfilial = '0002' and dscontapag = 'ENERGIA' or vratuapag >= 1000");
    EXPECT_EQ(f.set.recordCount(), 3);
    f.set.setFilter("DSCONTAPAG <> 'it''s'");
    EXPECT_EQ(f.set.recordCount(), 4);
    EXPECT_THROW(f.set.setFilter("IDMARCADO = "), std::invalid_argument);
    EXPECT_THROW(f.set.setFilter("NOPE = 'S'"), std::invalid_argument);
    EXPECT_THROW(f.set.setFilter("IDMARCADO = 'S' AND"), std::invalid_argument);
    EXPECT_EQ(f.set.filter(), "DSCONTAPAG <> 'it''s'");

    f.set.setFiltered(false);
    EXPECT_EQ(f.set.recordCount(), 4);
}

TEST(Filter, APostedRowLeavesTheViewAfterItsAfterPost) {
    PayableFixture f;
    TKeyList marked;
    QObject::connect(&f.set, &ClientDataSet::afterPost, [&] {
        auto text = [&](const char16_t *name) { return f.set.fieldByName(name)->asString(); };
        const QString key =
            text(u"CDFILIAL") + text(u"NRPARCELAPAG") + text(u"NRLANCTONF") + text(u"NRSEQVENPAG");
        if (text(u"IDMARCADO") == "S")
            marked.Add(key, 0);
        else
            marked.Remove(key);
    });
    f.set.setData(PayableFixture::packet());
    f.set.setFilter("IDMARCADO = 'S'");
    f.set.setFiltered(true);
    ASSERT_EQ(f.set.recordCount(), 1);
    f.set.edit();
    f.set.fieldByName(u"IDMARCADO")->setAsString("S");
    f.set.post();
    EXPECT_EQ(marked.Count(), 1);
    f.set.edit();
    f.set.fieldByName(u"IDMARCADO")->setAsString("N");
    f.set.post();
    EXPECT_EQ(marked.Count(), 0); // the key was read from the posted row
    EXPECT_TRUE(f.set.isEmpty());
    EXPECT_TRUE(f.set.eof());
}
