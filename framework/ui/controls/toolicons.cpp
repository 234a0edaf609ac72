#include "framework/ui/controls/toolicons.h"

#include <QImage>
#include <QPixmap>

namespace {

// Grey from the icon's own lightness, at a third of its opacity.
QPixmap faded(const QPixmap &pixmap) {
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = 96 + qGray(line[x]) / 2;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) / 3);
        }
    }
    return QPixmap::fromImage(image);
}

} // namespace

QIcon toolIcon(const QString &name) {
    QIcon icon(QStringLiteral(":/icons/%1.svg").arg(name));
    for (const int size : {16, 20, 24, 32})
        icon.addPixmap(faded(icon.pixmap(size, size)), QIcon::Disabled);
    return icon;
}
