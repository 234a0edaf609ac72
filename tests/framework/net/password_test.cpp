#include "framework/net/password.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

// Hashes made here use the lowest cost: what is tested does not depend on it, and tests stay quick.
constexpr int cheap = 1000;

} // namespace

TEST(Password, VerifiesOnlyTheRightPassword) {
    const QString stored = hashPassword(QStringLiteral("çaixa-2026"), cheap);
    EXPECT_TRUE(stored.startsWith(QLatin1StringView("pbkdf2-sha256$")));
    EXPECT_FALSE(stored.contains(QLatin1StringView("çaixa")));
    EXPECT_TRUE(verifyPassword(QStringLiteral("çaixa-2026"), stored));
    EXPECT_FALSE(verifyPassword(QStringLiteral("caixa-2026"), stored));
    EXPECT_FALSE(verifyPassword(QString(), stored));
}

TEST(Password, SaltsEachHashAnew) {
    const QString first = hashPassword(QStringLiteral("admin"), cheap);
    const QString second = hashPassword(QStringLiteral("admin"), cheap);
    EXPECT_NE(first, second);
    EXPECT_TRUE(verifyPassword(QStringLiteral("admin"), first));
    EXPECT_TRUE(verifyPassword(QStringLiteral("admin"), second));
}

TEST(Password, NeverMatchesAMalformedStoredText) {
    const QString good = hashPassword(QStringLiteral("admin"), cheap);
    const QStringList parts = good.split(QLatin1Char('$'));
    const QStringList malformed = {
        QString(),
        QStringLiteral("admin"),
        QStringLiteral("md5$1$abc$def"),
        QStringLiteral("pbkdf2-sha256$0$%1$%2").arg(parts[2], parts[3]),
        QStringLiteral("pbkdf2-sha256$999999999$%1$%2").arg(parts[2], parts[3]),
        QStringLiteral("pbkdf2-sha256$%1$%2$%3").arg(parts[1], parts[2], QStringLiteral("***")),
        QStringLiteral("pbkdf2-sha256$%1$%2$%3").arg(parts[1], parts[2], parts[3].left(8)),
        good + QStringLiteral("$extra"),
    };
    for (const QString &stored : malformed)
        EXPECT_FALSE(verifyPassword(QStringLiteral("admin"), stored)) << qPrintable(stored);
}

TEST(Password, KeepsVerifyingHashesOfEarlierReleasesAndTellsWhichToUpgrade) {
    const QString earlier = QStringLiteral(
        "pbkdf2-sha256$1000$MDEyMzQ1Njc4OWFiY2RlZg==$q6O0AjG1AZnjH6Bp0zoJ9g5k8yUIr+FeECSWc4O2f0Y=");
    EXPECT_TRUE(verifyPassword(QStringLiteral("çaixa-2026"), earlier));
    EXPECT_FALSE(verifyPassword(QStringLiteral("caixa-2026"), earlier));

    EXPECT_EQ(passwordIterations(), recommendedPasswordIterations);
    EXPECT_TRUE(needsRehash(earlier));
    setPasswordIterations(cheap);
    EXPECT_FALSE(needsRehash(earlier));
    const QString current = hashPassword(QStringLiteral("çaixa-2026"));
    EXPECT_TRUE(current.startsWith(QLatin1StringView("pbkdf2-sha256$1000$")));
    setPasswordIterations(recommendedPasswordIterations);
    EXPECT_TRUE(needsRehash(current));
    EXPECT_FALSE(needsRehash(QStringLiteral("md5$1$abc$def"))) << "what never verifies is never upgraded";
}
