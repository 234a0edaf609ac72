#include "host/appicon.h"

#include <QPainter>
#include <QPixmap>

namespace {

QPixmap slip(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 16.0;
    const QRectF paper(2 * unit, 1 * unit, 12 * unit, 14 * unit);
    painter.setPen(QPen(QColor(0x2e, 0x4a, 0x62), qMax(1.0, unit * 0.8)));
    painter.setBrush(QColor(0xfb, 0xfa, 0xf3));
    painter.drawRoundedRect(paper, unit, unit);
    painter.fillRect(QRectF(paper.left() + unit / 2, paper.top() + unit / 2, paper.width() - unit, 3 * unit),
                     QColor(0x1f, 0x7a, 0x5c));
    painter.setPen(QPen(QColor(0x6b, 0x7b, 0x8c), qMax(1.0, unit * 0.7)));
    for (int line = 0; line < 3; ++line) {
        const qreal y = paper.top() + (6 + 2.5 * line) * unit;
        painter.drawLine(QPointF(paper.left() + 2 * unit, y), QPointF(paper.right() - 2 * unit, y));
    }
    return pixmap;
}

} // namespace

QIcon applicationIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64})
        icon.addPixmap(slip(size));
    return icon;
}
