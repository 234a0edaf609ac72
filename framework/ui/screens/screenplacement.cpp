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

bool minimizedOrMaximized(const QMdiSubWindow *window) {
    return window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized);
}

// Keeps a child window whole while its area changes size (the host window maximized after the
// screen opened, or made smaller): a window the user has not moved since it was centred stays
// centred, any other is moved back inside. Writes the window's place when it is hidden or closed.
class PlaceKeeper : public QObject {
public:
    // Places the window at `saved`, or centred at `initialSize` when nothing was saved.
    PlaceKeeper(QMdiSubWindow *window, QSize initialSize, const QRect &saved)
        : QObject(window)
        , m_window(window)
        , m_initialSize(initialSize)
        , m_centred(!saved.isValid()) {
        place(m_centred ? centredPlace() : saved);
        window->installEventFilter(this);
        window->mdiArea()->viewport()->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override {
        if (minimizedOrMaximized(m_window))
            return false;
        if (watched != m_window && event->type() == QEvent::Resize) {
            m_centred = m_centred && m_window->geometry() == m_placed;
            place(m_centred ? centredPlace() : m_window->geometry());
        }
        if (watched == m_window && (event->type() == QEvent::Hide || event->type() == QEvent::Close))
            windowSettings()->setValue(keyOf(m_window), m_window->geometry());
        return false;
    }

private:
    QRect visible() const { return m_window->mdiArea()->viewport()->rect(); }

    QRect centredPlace() const {
        QRect place(QPoint(), m_initialSize);
        place.moveCenter(visible().center());
        return place;
    }

    void place(const QRect &geometry) {
        m_placed = fitted(geometry, visible());
        m_window->setGeometry(m_placed);
    }

    QMdiSubWindow *m_window;
    QSize m_initialSize;
    bool m_centred;
    QRect m_placed;
};

} // namespace

std::unique_ptr<QSettings> windowSettings() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return std::make_unique<QSettings>(QDir(folder).filePath(QStringLiteral("pag/janelas.ini")),
                                       QSettings::IniFormat);
}

void placeScreen(QMdiSubWindow *window, QSize initialSize) {
    new PlaceKeeper(window, initialSize, windowSettings()->value(keyOf(window)).toRect());
}
