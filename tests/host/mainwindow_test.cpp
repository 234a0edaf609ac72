#include "framework/net/netconnection.h"
#include "framework/net/neterror.h"
#include "framework/session/dbgeral.h"
#include "framework/session/norvela.h"
#include "framework/session/packageloader.h"
#include "framework/ui/dialogs/helpviewer.h"
#include "framework/ui/messages/scriptedmessages.h"
#include "framework/ui/screens/screenplacement.h"
#include "framework/ui/screens/tfrmfiltropadrao.h"
#include "framework/ui/screens/tfrmpadrao.h"
#include "host/mainwindow.h"
#include "server_contract/recconpag.h"
#include "tests/framework/session/testdatabase.h"
#include "tests/support/serverfixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
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

// The host as a clerk meets it: signed in against the real server, PAG00800 opened from its package.
class HostWithScreenTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        ServerFixture::Options options;
        options.extraArguments = {QStringLiteral("--port"), QString::number(probe.serverPort())};
        probe.close();
        server = new ServerFixture(options);
        server->start();
    }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }

    void SetUp() override {
        windowSettings()->clear();
        dtmDBGeral()->open(server->databaseUrl());
        Norvela::setWebURL(server->host());
        Norvela::setWebPort(server->port());
        Norvela::setOperador(QStringLiteral("admin"), QStringLiteral("admin"));
        Norvela::setPackagesPath(QCoreApplication::applicationDirPath());
        window = std::make_unique<HostMainWindow>();
        window->resize(1024, 700);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void TearDown() override {
        if (window)
            closeScreen();
        window.reset();
        dtmDBGeral()->close();
    }

    QMdiSubWindow *openScreen() {
        window->openScreen(QStringLiteral("PAG00800"));
        EXPECT_EQ(messages.texts(), QStringList());
        return window->mdiArea()->activeSubWindow();
    }

    void closeScreen() {
        for (QMdiSubWindow *screen : window->mdiArea()->subWindowList())
            screen->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    TfrmPadrao *screen() const {
        QMdiSubWindow *active = window->mdiArea()->activeSubWindow();
        return active ? qobject_cast<TfrmPadrao *>(active->widget()) : nullptr;
    }

    static inline ServerFixture *server = nullptr;
    ScriptedMessages messages;
    std::unique_ptr<HostMainWindow> window;
};

TEST_F(HostWithScreenTest, TheHostOpensMaximizedFirstAndThenWhereItWasLeft) {
    window.reset();
    HostMainWindow first;
    first.showAsLeft();
    EXPECT_TRUE(first.isMaximized());
    first.showNormal();
    first.setGeometry(40, 50, 800, 560);
    first.close();

    HostMainWindow second;
    second.showAsLeft();
    EXPECT_FALSE(second.isMaximized());
    EXPECT_EQ(second.geometry(), QRect(40, 50, 800, 560));
}

TEST_F(HostWithScreenTest, TheScreenOpensWholeAndCentredThenWhereItWasLeft) {
    QMdiSubWindow *child = openScreen();
    ASSERT_NE(child, nullptr);
    const QRect visible = window->mdiArea()->viewport()->rect();
    EXPECT_TRUE(visible.contains(child->geometry()));
    EXPECT_LE((child->geometry().center() - visible.center()).manhattanLength(), 2);
    window->resize(1200, 800);
    EXPECT_LE((child->geometry().center() - window->mdiArea()->viewport()->rect().center()).manhattanLength(),
              2)
        << "the host grown (maximized) after the screen opened: still centred";
    window->resize(1024, 700);

    child->move(20, 30);
    closeScreen();
    child = openScreen();
    EXPECT_EQ(child->geometry().topLeft(), QPoint(20, 30));

    window->resize(700, 500);
    EXPECT_TRUE(window->mdiArea()->viewport()->rect().contains(child->geometry()))
        << "the host made smaller with the screen open: the screen stays whole";
    EXPECT_EQ(child->geometry().topLeft(), QPoint(20, 30)) << "a place that still fits is kept";

    window->resize(1024, 700);
    child->move(visible.width() - 100, visible.height() - 100);
    closeScreen();
    window->resize(700, 500);
    child = openScreen();
    EXPECT_TRUE(window->mdiArea()->viewport()->rect().contains(child->geometry()))
        << "a place left outside a smaller window is brought back whole";
}

TEST_F(HostWithScreenTest, F1AndAjudaOpenTheScreensHelpPage) {
    openScreen();
    ASSERT_NE(screen(), nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1); // the company code, where the screen opens
    HelpViewer *viewer = HelpViewer::current();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(viewer->page().endsWith(QStringLiteral("/help/pag00800.html"))) << qPrintable(viewer->page());
    EXPECT_TRUE(viewer->windowTitle().startsWith(QStringLiteral("Ajuda - PAG00800")))
        << qPrintable(viewer->windowTitle());
    EXPECT_TRUE(messages.texts().isEmpty());
    viewer->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QTest::mouseClick(screen()->sbtAjuda, Qt::LeftButton);
    ASSERT_NE(HelpViewer::current(), nullptr);
    EXPECT_TRUE(HelpViewer::current()->page().endsWith(QStringLiteral("/help/pag00800.html")));
}

TEST_F(HostWithScreenTest, TheModalFilterDialogsF1OpensItsOwnPageInAViewerItDoesNotBlock) {
    openScreen();
    QTest::keyClick(screen()->dbgPadrao, Qt::Key_F1);
    ASSERT_NE(HelpViewer::current(), nullptr) << "the viewer is already open over the screen";

    std::unique_ptr<TfrmFiltroPadrao> filter(TfrmFiltroPadrao::create<TfrmFiltroPadrao>());
    filter->setHelpFile(QStringLiteral("paghelp.hlp"));
    filter->setHelpContext(11911002);
    filter->setWindowModality(Qt::ApplicationModal);
    filter->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(filter.get()));
    QTest::keyClick(filter.get(), Qt::Key_F1);
    HelpViewer *viewer = HelpViewer::current();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(viewer->page().endsWith(QStringLiteral("/help/pag00801.html")));
    EXPECT_TRUE(viewer->windowTitle().startsWith(QStringLiteral("Ajuda - PAG00801")));
    EXPECT_EQ(viewer->parentWidget(), filter.get()) << "a window of the modal dialog, so not blocked by it";
    viewer->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(HostWithScreenTest, AScreenWhoseServerComesBackReconnectsOnItsNextCall) {
    openScreen();
    auto *net = screen()->findChild<TNetConnection *>(QStringLiteral("netRecContaPagar"));
    ASSERT_NE(net, nullptr);
    const auto getAjusPag = [net] {
        return net->call(RecConPag::Method::GetAjusPag, {QStringLiteral("0101"), 1.0, 1.0, 1.0});
    };
    ASSERT_NO_THROW(getAjusPag());

    server->stop();
    try {
        getAjusPag();
        ADD_FAILURE() << "a call with the server down must fail";
    } catch (const NetError &failure) {
        EXPECT_TRUE(failure.message().contains(QStringLiteral("não está no ar")))
            << qPrintable(failure.message());
        EXPECT_FALSE(failure.message().contains(QStringLiteral("refused"), Qt::CaseInsensitive));
    }

    server->start();
    EXPECT_NO_THROW(getAjusPag()) << "the same screen, not reopened, works again";
    EXPECT_NO_THROW(getAjusPag());
}
