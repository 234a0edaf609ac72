#include <QCoreApplication>
#include <gtest/gtest.h>

// The server tests find pagserver beside this executable and talk to it over loopback.
int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
