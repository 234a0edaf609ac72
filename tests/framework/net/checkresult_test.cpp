#include "framework/core/abort.h"
#include "framework/core/datapacket.h"
#include "framework/net/checkresult.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

class CheckResultServTest : public testing::Test {
protected:
    void SetUp() override {
        setErrorDisplay([this](const QString &text) { shown.append(text); });
    }
    void TearDown() override { setErrorDisplay(nullptr); }

    QStringList shown;
};

} // namespace

TEST_F(CheckResultServTest, ShowsAServerFailureAndAbortsSilently) {
    const QVariant failure =
        QVariant::fromValue(ServerFailureResult{QStringLiteral("Empresa não permitida.")});
    EXPECT_THROW(CheckResultServ(failure, true, 0), SilentAbort);
    EXPECT_EQ(shown, QStringList{QStringLiteral("Empresa não permitida.")});
}

TEST_F(CheckResultServTest, WithoutStopShowsTheFailureAndGivesNoValue) {
    const QVariant failure = QVariant::fromValue(ServerFailureResult{QStringLiteral("Falhou.")});
    EXPECT_FALSE(CheckResultServ(failure, false, 0).isValid());
    EXPECT_EQ(shown.size(), 1);
}

TEST_F(CheckResultServTest, PassesValuesThroughUntouched) {
    FieldDef count;
    count.name = QStringLiteral("NRCNT");
    count.kind = FieldKind::Float;
    DataPacket packet({count});
    packet.appendRow({3.0});
    const QVariant packetResult = CheckResultServ(QVariant::fromValue(packet), true, 0);
    ASSERT_EQ(packetResult.metaType(), QMetaType::fromType<DataPacket>());
    EXPECT_EQ(packetResult.value<DataPacket>().value(0, 0).toDouble(), 3.0);

    const QVariantList confirmation = {QStringLiteral("ALT_BLOQ"), QVariant(), QVariant(), QVariant()};
    EXPECT_EQ(CheckResultServ(confirmation, true, 0).toList(), confirmation);
    EXPECT_TRUE(shown.isEmpty());
}
