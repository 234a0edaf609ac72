#include "framework/ui/controls/toolicons.h"
#include "framework/ui/screens/tfrmpadrao.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

bool drawsSomething(const QImage &image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
    return false;
}

bool isGrey(const QImage &image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) > 0 && (qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel)))
                return false;
        }
    return true;
}

} // namespace

TEST(ToolIcons, EveryIconDrawsAndItsDisabledFormIsGrey) {
    for (const char *name :
         {"confirmar", "procurar", "verificar", "imprimir", "ajuda", "fechar", "filtro", "contabilizar"}) {
        const QIcon icon = toolIcon(QLatin1String(name));
        const QImage normal = icon.pixmap(20, 20).toImage();
        const QImage disabled = icon.pixmap(20, 20, QIcon::Disabled).toImage();
        EXPECT_TRUE(drawsSomething(normal)) << name << ": the SVG icon engine must be installed";
        EXPECT_FALSE(isGrey(normal)) << name;
        EXPECT_TRUE(drawsSomething(disabled)) << name;
        EXPECT_TRUE(isGrey(disabled)) << name;
    }
}

TEST(ToolIcons, TheBaseScreensButtonsShowTheirIconAboveTheirName) {
    std::unique_ptr<TfrmPadrao> screen(TfrmPadrao::create<TfrmPadrao>());
    for (TButtonFlat *button : {screen->sbtConfirmar, screen->sbtProcurar, screen->sbtVerificar,
                                screen->sbtImprimir, screen->sbtAjuda, screen->sbtFechar}) {
        EXPECT_FALSE(button->icon().isNull()) << qPrintable(button->objectName());
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    }
    auto *added = new TButtonFlat(QStringLiteral("sbtExtra"), QStringLiteral("Extra"), nullptr);
    screen->addToolButton(added, screen->sbtImprimir);
    EXPECT_EQ(added->toolButtonStyle(), Qt::ToolButtonTextUnderIcon)
        << "an added button looks like the others";
}
