#include "support.h"

#include "framework/ui/feedback/busyindicator.h"
#include "framework/ui/feedback/updatelock.h"
#include "framework/ui/feedback/waitcursor.h"

#include <QApplication>
#include <QLabel>
#include <gtest/gtest.h>

TEST(Feedback, BusyIndicatorCoversTheFormUntilHidden) {
    QWidget form;
    auto *child = new QLabel(QStringLiteral("conteúdo"), &form);
    form.resize(300, 200);
    form.show();
    ActiveShowAvi(&form, 2);
    QWidget *indicator = busyIndicator();
    ASSERT_NE(indicator, nullptr);
    EXPECT_EQ(indicator->parentWidget(), &form);
    EXPECT_EQ(indicator->accessibleName(), QStringLiteral("Pesquisando..."));
    EXPECT_TRUE(indicator->isVisible());
    EXPECT_EQ(indicator->geometry(), form.rect());
    EXPECT_EQ(form.childAt(child->geometry().center()), indicator);
    // It follows the form's size, and a second one replaces the first.
    form.resize(400, 300);
    EXPECT_EQ(indicator->geometry(), form.rect());
    ActiveShowAvi(&form, 0);
    EXPECT_EQ(form.findChildren<QWidget *>(QStringLiteral("busyIndicator")).size(), 1);
    EXPECT_EQ(busyIndicator()->accessibleName(), QStringLiteral("Processando..."));
    DeactiveShowAvi();
    EXPECT_EQ(busyIndicator(), nullptr);
    EXPECT_TRUE(form.findChildren<QWidget *>(QStringLiteral("busyIndicator")).isEmpty());
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
