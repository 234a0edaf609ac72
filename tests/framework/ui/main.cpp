#include "framework/ui/locale.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Testes"));
    usePortugueseLocale();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
