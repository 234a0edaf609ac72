#include "framework/ui/locale.h"

#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    // Window places are written to a test folder, never to the user's settings.
    QStandardPaths::setTestModeEnabled(true);
    loadQtTranslations();
    usePortugueseLocale();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
