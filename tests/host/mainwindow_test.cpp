#include "framework/session/norvela.h"
#include "framework/session/packageloader.h"
#include "framework/ui/messages/scriptedmessages.h"
#include "host/mainwindow.h"
#include "tests/framework/session/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        Norvela::setOperador(QStringLiteral("admin"));
        Norvela::setWebURL(QStringLiteral("127.0.0.1"));
        Norvela::setWebPort(7811);
        Norvela::setPackagesPath(emptyPackages.path());
        window = std::make_unique<HostMainWindow>();
        window->show();
    }

    QString label(const char *name) const {
        return window->findChild<QLabel *>(QString::fromLatin1(name))->text();
    }

    TestDatabase database;
    QTemporaryDir emptyPackages;
    std::unique_ptr<HostMainWindow> window;
};

TEST_F(MainWindowTest, HasTheScreensMenuAndTheStatusLine) {
    EXPECT_EQ(Norvela::mainWindow(), window.get());
    auto *menu = window->menuBar()->findChild<QMenu *>(QStringLiteral("mnuTelas"));
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (const QAction *action : menu->actions())
        items << action->text();
    EXPECT_TRUE(items.contains(QStringLiteral("PAG00800 - Recálculo da Contabilização de Contas a Pagar")));
    EXPECT_TRUE(items.contains(QStringLiteral("Abrir tela...")));

    EXPECT_EQ(label("lblOperador"), QStringLiteral("Operador: admin"));
    EXPECT_EQ(label("lblBanco"), QStringLiteral("Banco: ") + database.url());
    EXPECT_EQ(label("lblServidor"), QStringLiteral("Servidor: 127.0.0.1:7811"));
}

TEST_F(MainWindowTest, AMissingPackageIsShownAndTheWindowStays) {
    ScriptedMessages messages;
    window->findChild<QAction *>(QStringLiteral("actPAG00800"))->trigger();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().type, DialogType::Error);
    EXPECT_TRUE(messages.last().startsWith(QStringLiteral("Pacote da tela PAG00800 não encontrado")));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->mdiArea()->subWindowList().isEmpty());
}

TEST_F(MainWindowTest, OpenScreenOffersThePackagesFoundAndLoadsTheCodeChosen) {
    for (const char *file : {"libabc00001.so", "libpagcore.so", "notes.txt"}) {
        QFile touch(QDir(emptyPackages.path()).filePath(QString::fromLatin1(file)));
        ASSERT_TRUE(touch.open(QIODevice::WriteOnly));
    }
    ScriptedMessages messages;
    messages.answerName(QStringLiteral("xyz00001"));
    window->findChild<QAction *>(QStringLiteral("actAbrirTela"))->trigger();
    EXPECT_EQ(messages.offeredNames(), QStringList{QStringLiteral("ABC00001")});
    EXPECT_TRUE(messages.last().startsWith(QStringLiteral("Pacote da tela XYZ00001 não encontrado")));

    messages.clear();
    messages.answerName(QString());
    window->findChild<QAction *>(QStringLiteral("actAbrirTela"))->trigger();
    EXPECT_TRUE(messages.shown().isEmpty()) << "a cancelled prompt opens nothing";
}

TEST_F(MainWindowTest, ClosingTheWindowReleasesTheSessionsMainWindow) {
    window.reset();
    EXPECT_EQ(Norvela::mainWindow(), nullptr);
}
