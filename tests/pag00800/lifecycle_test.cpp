#include "screenfixture.h"

#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "framework/session/norvela.h"
#include "framework/ui/controls/maskedit.h"
#include "server_contract/recconpag.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

int screensIn(QMdiArea *area) {
    int count = 0;
    for (QMdiSubWindow *window : area->subWindowList())
        count += qobject_cast<TfrmRecCtPagar *>(window->widget()) != nullptr;
    return count;
}

} // namespace

TEST_F(ScreenTest, OpensOnceAndComesBackToTheFrontRestored) {
    TfrmRecCtPagar *screen = openScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(boIdCriado);
    // Placed where the whole window shows, at its initial size.
    EXPECT_EQ(screen->mdiSubWindow()->size(), QSize(553, 422));
    EXPECT_TRUE(host->mdiArea()->viewport()->rect().contains(screen->mdiSubWindow()->geometry()));
    auto *other = host->mdiArea()->addSubWindow(new QWidget);
    other->show();
    host->mdiArea()->setActiveSubWindow(other);
    screen->mdiSubWindow()->showMinimized();

    EXPECT_EQ(openScreen(), screen);
    EXPECT_EQ(screensIn(host->mdiArea()), 1);
    EXPECT_FALSE(screen->mdiSubWindow()->isMinimized());
    EXPECT_EQ(host->mdiArea()->activeSubWindow(), screen->mdiSubWindow());
}

TEST_F(ScreenTest, ConnectsOnActivationAndDisconnectsOnClose) {
    TfrmRecCtPagar *screen = openScreen();
    ASSERT_NE(screen, nullptr);
    ASSERT_TRUE(screen->netRecContaPagar->connected());
    ASSERT_NE(screen->markedSet(), nullptr);
    // The connection reaches the real server with the session's address.
    const QVariant period =
        screen->netRecContaPagar->call(RecConPag::Method::GETPerContabil, {QStringLiteral("01")});
    screen->cdsPerContabil->setData(CheckResultServ(period, true, 0).value<DataPacket>());
    EXPECT_EQ(screen->cdsPerContabil->recordCount(), 1);
    EXPECT_EQ(screen->netRecContaPagar->port(), Norvela::WebPort());

    QPointer<TNetConnection> connection = screen->netRecContaPagar;
    screen->closeForm();
    EXPECT_FALSE(boIdCriado);
    ASSERT_FALSE(connection.isNull());
    EXPECT_FALSE(connection->connected());
    EXPECT_EQ(screen->markedSet(), nullptr);

    destroyClosedWindows();
    EXPECT_TRUE(frmRecCtPagar.isNull());
    EXPECT_EQ(screensIn(host->mdiArea()), 0);
}

TEST_F(ScreenTest, ReopeningGivesAFreshScreenWithTheFocusOnAnEmptyCompany) {
    TfrmRecCtPagar *first = openScreen();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(QApplication::focusWidget(), first->medCdEmpresa);
    first->medCdEmpresa->setText(QStringLiteral("01"));
    first->cdsCntPagar->setData(payableRows({{{"CDFILIAL", "0101"}, {"IDMARCADO", "N"}}}));
    closeScreen();

    TfrmRecCtPagar *second = openScreen();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(boIdCriado);
    EXPECT_TRUE(second->medCdEmpresa->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), second->medCdEmpresa);
    EXPECT_FALSE(second->cdsCntPagar->active());
    ASSERT_NE(second->markedSet(), nullptr);
    EXPECT_EQ(second->markedSet()->Count(), 0);
    EXPECT_TRUE(second->netRecContaPagar->connected());
}

TEST_F(ScreenTest, ReactivationKeepsConnectionMarksAndFocus) {
    TfrmRecCtPagar *screen = openScreen();
    ASSERT_NE(screen, nullptr);
    browse(screen, QStringLiteral("01"));
    screen->cdsCntPagar->edit();
    screen->cdsCntPagar->fieldByName("IDMARCADO")->setAsString(QStringLiteral("S"));
    screen->cdsCntPagar->post();
    TKeyList *marked = screen->markedSet();

    auto *other = host->mdiArea()->addSubWindow(new QWidget);
    other->show();
    host->mdiArea()->setActiveSubWindow(other);
    host->mdiArea()->setActiveSubWindow(screen->mdiSubWindow());

    EXPECT_TRUE(screen->netRecContaPagar->connected());
    EXPECT_EQ(screen->markedSet(), marked);
    EXPECT_EQ(marked->Count(), 1);
    EXPECT_EQ(screen->cdsCntPagar->fieldByName("IDMARCADO")->asString(), QStringLiteral("S"));
    EXPECT_NE(QApplication::focusWidget(), screen->medCdEmpresa);
}

TEST_F(ScreenTest, WithoutTheServerTheScreenStillOpensAndReportsTheFailure) {
    const int port = Norvela::WebPort();
    Norvela::setWebPort(1);
    host->openScreen(QStringLiteral("PAG00800"));
    TfrmRecCtPagar *screen = frmRecCtPagar;
    Norvela::setWebPort(port);

    ASSERT_NE(screen, nullptr);
    EXPECT_FALSE(messages.shown().isEmpty());
    EXPECT_FALSE(screen->netRecContaPagar->connected());
    EXPECT_NE(screen->markedSet(), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), screen->medCdEmpresa);
}

TEST_F(ScreenTest, AScreenDestroyedWithItsHostWindowIsCreatedAfresh) {
    ASSERT_NE(openScreen(), nullptr);
    host.reset(); // the screen goes with its host window without being closed
    EXPECT_TRUE(frmRecCtPagar.isNull());
    SetUp();

    TfrmRecCtPagar *screen = openScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->mdiSubWindow()->mdiArea(), host->mdiArea());
    EXPECT_TRUE(screen->netRecContaPagar->connected());
}
