#include "support.h"

#include "framework/ui/feedback/busyindicator.h"
#include "framework/ui/feedback/updatelock.h"
#include "framework/ui/feedback/waitcursor.h"

#include <QApplication>
#include <QLabel>
#include <gtest/gtest.h>

TEST(Feedback, BusyIndicatorShowsOverTheFormUntilHidden) {
    QWidget form;
    form.resize(300, 200);
    form.show();
    ActiveShowAvi(&form, 0);
    auto *label = qobject_cast<QLabel *>(busyIndicator());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->parentWidget(), &form);
    EXPECT_EQ(label->text(), QStringLiteral("Processando..."));
    EXPECT_TRUE(label->isVisible());
    ActiveShowAvi(&form, 0);
    EXPECT_EQ(form.findChildren<QLabel *>().size(), 1);
    DeactiveShowAvi();
    EXPECT_EQ(busyIndicator(), nullptr);
    EXPECT_TRUE(form.findChildren<QLabel *>().isEmpty());
    DeactiveShowAvi();
}

TEST(Feedback, UpdateLocksAndWaitCursorAreReleased) {
    QWidget window;
    auto *child = new QWidget(&window);
    {
        WindowUpdateLock lock(child);
        EXPECT_FALSE(window.updatesEnabled());
    }
    EXPECT_TRUE(window.updatesEnabled());

    QWidget other;
    LockWindowUpdate(child);
    EXPECT_FALSE(window.updatesEnabled());
    LockWindowUpdate(&other);
    EXPECT_TRUE(window.updatesEnabled());
    EXPECT_FALSE(other.updatesEnabled());
    LockWindowUpdate(nullptr);
    EXPECT_TRUE(other.updatesEnabled());

    {
        WaitCursor wait;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
