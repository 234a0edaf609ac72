#include "framework/net/password.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    // Sign-ins of the in-process server hash as a test server started with --password-iterations does.
    setPasswordIterations(1000);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
