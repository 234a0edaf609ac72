#include "appserver/server/module.h"

#include <gtest/gtest.h>

TEST(CallArgs, AFlagIsMinusOneZeroOrABoolean) {
    const CallArgs args({qint64(-1), qint64(0), true, false, qint64(1), qint64(2), 1.0, QStringLiteral("S")},
                        {});
    EXPECT_TRUE(args.flag(0));
    EXPECT_FALSE(args.flag(1));
    EXPECT_TRUE(args.flag(2));
    EXPECT_FALSE(args.flag(3));
    for (int index = 4; index < args.count(); ++index)
        EXPECT_THROW(args.flag(index), BadCall) << "argument " << index;
}
