#include "framework/ui/screens/screenplacement.h"

#include <QDir>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString keyOf(const QMdiSubWindow *window) {
    return QStringLiteral("telas/%1").arg(window->widget() ? window->widget()->objectName() : QString());
}

QRect fitted(QRect geometry, const QRect &visible) {
    geometry.setSize(geometry.size().boundedTo(visible.size()));
    geometry.moveRight(qMin(geometry.right(), visible.right()));
    geometry.moveBottom(qMin(geometry.bottom(), visible.bottom()));
    geometry.moveTopLeft(QPoint(qMax(geometry.left(), visible.left()), qMax(geometry.top(), visible.top())));
    return geometry;
}

// Writes the window's place when it is hidden or closed, minimized and maximized states aside.
class PlaceKeeper : public QObject {
public:
    explicit PlaceKeeper(QMdiSubWindow *window)
        : QObject(window) {}

    bool eventFilter(QObject *watched, QEvent *event) override {
        auto *window = static_cast<QMdiSubWindow *>(watched);
        if ((event->type() == QEvent::Hide || event->type() == QEvent::Close) &&
            !(window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
            windowSettings()->setValue(keyOf(window), window->geometry());
        return false;
    }
};

} // namespace

std::unique_ptr<QSettings> windowSettings() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return std::make_unique<QSettings>(QDir(folder).filePath(QStringLiteral("pag/janelas.ini")),
                                       QSettings::IniFormat);
}

void placeScreen(QMdiSubWindow *window, QSize initialSize) {
    const QRect visible = window->mdiArea()->viewport()->rect();
    QRect place = windowSettings()->value(keyOf(window)).toRect();
    if (!place.isValid()) {
        place = QRect(QPoint(), initialSize);
        place.moveCenter(visible.center());
    }
    window->setGeometry(fitted(place, visible));
    window->installEventFilter(new PlaceKeeper(window));
}
