#include "framework/session/norvela.h"
#include "framework/session/packageloader.h"
#include "framework/ui/screens/savedoptions.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <gtest/gtest.h>

using Norvela::PackageError;

class PackageLoaderTest : public testing::Test {
protected:
    void SetUp() override { Norvela::setPackagesPath(QStringLiteral(TEST_PACKAGES_DIR)); }

    static QString failureOf(const QString &code) {
        try {
            Norvela::LoadBPL(code, {});
        } catch (const PackageError &error) {
            return error.message();
        }
        return {};
    }
};

TEST_F(PackageLoaderTest, LoadsPackageOnceAndPassesParametersOnEveryCall) {
    Norvela::LoadBPL(QStringLiteral("TSTPKG01"), {QStringLiteral("01"), 42});
    Norvela::LoadBPL(QStringLiteral("tstpkg01"), {QStringLiteral("02"), 7.5, true});

    EXPECT_EQ(qApp->property("testpackage.loads").toInt(), 1);
    EXPECT_EQ(qApp->property("testpackage.calls").toInt(), 2);
    const QVariantList expected{QStringLiteral("02"), 7.5, true};
    EXPECT_EQ(qApp->property("testpackage.params").toList(), expected);
}

TEST_F(PackageLoaderTest, ReportsMissingPackageEntryAndBadCodeInPortuguese) {
    EXPECT_TRUE(failureOf(QStringLiteral("CTB99999"))
                    .startsWith(QStringLiteral("Pacote da tela CTB99999 não encontrado")));
    EXPECT_TRUE(failureOf(QStringLiteral("TSTPKG02")).contains(QStringLiteral("rotina de entrada IniProc")));
    // A second attempt fails the same way instead of finding a half-registered package.
    EXPECT_TRUE(failureOf(QStringLiteral("TSTPKG02")).contains(QStringLiteral("IniProc")));
    for (const char *code : {"../tstpkg01", "", "TST PKG", "/tmp/x"})
        EXPECT_TRUE(
            failureOf(QString::fromLatin1(code)).startsWith(QStringLiteral("Código de tela inválido")))
            << code;
}

TEST(PackageFileName, IsLibPlusLowerCaseCode) {
    EXPECT_EQ(Norvela::packageFileName(QStringLiteral("PAG00800")), QStringLiteral("libpag00800.so"));
    EXPECT_EQ(Norvela::packageFileName(QStringLiteral("CTB10200")), QStringLiteral("libctb10200.so"));
}

TEST(ShowChild, PlacesScreenOnceInTheMainWindowsMdiArea) {
    QMainWindow window;
    auto *area = new QMdiArea(&window);
    window.setCentralWidget(area);
    window.show();
    Norvela::setMainWindow(&window);

    auto *screen = new QWidget;
    screen->setAttribute(Qt::WA_DeleteOnClose);
    Norvela::showChild(screen);
    Norvela::showChild(screen);
    ASSERT_EQ(area->subWindowList().size(), 1);
    EXPECT_EQ(area->activeSubWindow()->widget(), screen);

    area->subWindowList().first()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(area->subWindowList().isEmpty());
    Norvela::setMainWindow(nullptr);
}

TEST(ShowChild, KeepsAScreenThatOnlyHidesOnClose) {
    QMainWindow window;
    auto *area = new QMdiArea(&window);
    window.setCentralWidget(area);
    window.show();
    Norvela::setMainWindow(&window);

    QPointer<QWidget> screen = new QWidget;
    Norvela::showChild(screen);
    area->subWindowList().first()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(screen.isNull());
    Norvela::showChild(screen);
    EXPECT_EQ(area->subWindowList().size(), 1);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_TRUE(area->subWindowList().first()->isVisible());
    Norvela::setMainWindow(nullptr);
}

TEST(Session, SignedInOperatorReachesTheSavedOptions) {
    Norvela::setOperador(QStringLiteral("caixa"), QStringLiteral("caixa"));
    EXPECT_EQ(Norvela::Operador(), QStringLiteral("caixa"));
    EXPECT_EQ(SavedOptions::currentOperator(), QStringLiteral("caixa"));
    Norvela::setOperador(QStringLiteral("admin"));
    EXPECT_EQ(SavedOptions::currentOperator(), QStringLiteral("admin"));
}
