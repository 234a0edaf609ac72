#include "pag00800/checkpictures.h"

#include <QImage>

namespace {

constexpr int side = 16;
constexpr int boxLeft = 3;
constexpr int boxTop = 3;
constexpr int boxSide = 10;

// Pixels of the tick, two pixels thick, relative to the box's top left corner.
constexpr QPoint tickPixels[] = {{2, 4}, {2, 5}, {3, 5}, {3, 6}, {4, 6}, {4, 7}, {5, 5},
                                 {5, 6}, {6, 4}, {6, 5}, {7, 3}, {7, 4}, {8, 2}, {8, 3}};

void drawBox(QImage &image) {
    const QRgb black = qRgb(0, 0, 0);
    const QRgb silver = qRgb(192, 192, 192);
    const QRgb white = qRgb(255, 255, 255);
    for (int y = 0; y < boxSide; ++y)
        for (int x = 0; x < boxSide; ++x) {
            QRgb colour = white;
            if (y == 0 || x == 0)
                colour = black;
            else if (y == boxSide - 1 || x == boxSide - 1)
                colour = silver;
            image.setPixel(boxLeft + x, boxTop + y, colour);
        }
}

} // namespace

QPixmap checkBoxPicture(bool ticked) {
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(checkPictureBackground);
    drawBox(image);
    if (ticked)
        for (const QPoint &pixel : tickPixels)
            image.setPixel(boxLeft + pixel.x(), boxTop + pixel.y(), qRgb(0, 0, 0));
    return QPixmap::fromImage(image);
}
