#include "framework/ui/locale.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    // Window places of this run only: not the user's, not another test process's.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    QApplication app(argc, argv);
    loadQtTranslations();
    usePortugueseLocale();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
