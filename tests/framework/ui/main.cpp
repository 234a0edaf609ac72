#include "framework/ui/locale.h"

#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // window places stay out of the user's settings
    QApplication::setApplicationDisplayName(QStringLiteral("Testes"));
    usePortugueseLocale();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
