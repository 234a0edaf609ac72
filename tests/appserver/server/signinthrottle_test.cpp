#include "appserver/server/signinthrottle.h"
#include "framework/net/netconnection.h"
#include "tests/appserver/server/inprocessserver.h"
#include "tests/appserver/server/rawclient.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Clock = SignInThrottle::Clock;

namespace {

const QHostAddress guesser(QStringLiteral("127.0.0.2"));

} // namespace

TEST(SignInThrottle, DelaysGrowPerAddressUpToTheLongestAndAreForgotten) {
    SignInThrottle throttle({1000ms, 4000ms, 60s});
    const QHostAddress other(QStringLiteral("10.0.0.9"));
    Clock::time_point now = Clock::now();
    EXPECT_EQ(throttle.turn(guesser, now), 0ms);
    SignInThrottle::Duration previous = 0ms;
    for (int failure = 1; failure <= 5; ++failure) {
        throttle.failed(guesser, now);
        const SignInThrottle::Duration wait = throttle.turn(guesser, now);
        EXPECT_GE(wait, previous);
        EXPECT_LE(wait, 4000ms);
        previous = wait;
        now += wait;
    }
    EXPECT_EQ(previous, 4000ms);
    EXPECT_EQ(throttle.turn(other, now), 0ms) << "another address is not slowed";

    EXPECT_EQ(throttle.turn(guesser, now + 61s), 0ms) << "forgotten after a quiet minute";
    throttle.failed(guesser, now);
    throttle.succeeded(guesser);
    EXPECT_EQ(throttle.turn(guesser, now), 0ms) << "the right password forgets the address";
}

TEST(SignInThrottle, ParallelAttemptsFromOneAddressTakeTurns) {
    SignInThrottle throttle({1000ms, 30000ms, 60s});
    const Clock::time_point now = Clock::now();
    throttle.failed(guesser, now);
    EXPECT_EQ(throttle.turn(guesser, now), 1000ms);
    EXPECT_EQ(throttle.turn(guesser, now), 2000ms);
    EXPECT_EQ(throttle.turn(guesser, now), 3000ms);
    EXPECT_EQ(throttle.turn(guesser, now), 4000ms);
    EXPECT_EQ(throttle.turn(guesser, now), 5000ms);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(throttle.turn(guesser, now), 6000ms) << "a turn beyond the patience is not taken";
}

TEST(SignInThrottle, TheRightPasswordSignsInAfterItsTurn) {
    ServerSettings settings;
    settings.signInDelayMs = 50;
    InProcessServer server(settings);
    for (int i = 0; i < 3; ++i) {
        RawClient wrong(server.port(), guesser);
        wrong.hello(QStringLiteral("errada"));
        EXPECT_EQ(wrong.receiveType(), QStringLiteral("refused"));
    }
    RawClient right(server.port(), guesser);
    right.hello();
    EXPECT_EQ(right.receiveType(), QStringLiteral("welcome"));
}

TEST(SignInThrottle, ASignInTooSoonIsRefusedAtOnceWithTheTimeLeft) {
    ServerSettings settings;
    settings.signInDelayMs = 60000;
    settings.signInMaxDelayMs = 60000;
    InProcessServer server(settings);
    RawClient wrong(server.port(), guesser);
    wrong.hello(QStringLiteral("errada"));
    ASSERT_EQ(wrong.receiveType(), QStringLiteral("refused"));
    RawClient again(server.port(), guesser);
    again.hello();
    const Wire::Message refusal = again.receive();
    EXPECT_EQ(refusal.value(QLatin1StringView("type")).toString(), QStringLiteral("refused"));
    EXPECT_TRUE(
        refusal.value(QLatin1StringView("message")).toString().contains(QLatin1StringView("60 segundos")))
        << qPrintable(refusal.value(QLatin1StringView("message")).toString());
}

TEST(SignInThrottle, AWaitingSignInHoldsUpNoOneElse) {
    ServerSettings settings;
    settings.signInDelayMs = 4000;
    InProcessServer server(settings);
    const auto signedIn = server.connection();
    ASSERT_EQ(signedIn->call("Operador").toString(), QStringLiteral("admin"));
    RawClient wrong(server.port(), guesser);
    wrong.hello(QStringLiteral("errada"));
    ASSERT_EQ(wrong.receiveType(), QStringLiteral("refused"));

    RawClient waiting(server.port(), guesser);
    waiting.hello();
    EXPECT_EQ(signedIn->call("Operador").toString(), QStringLiteral("admin"));
    EXPECT_EQ(server.connection()->call("Operador").toString(), QStringLiteral("admin"))
        << "a sign-in from another address is neither delayed nor queued behind the waiting one";
    EXPECT_FALSE(waiting.answered()) << "the second attempt from the guessing address waits its turn";
}
