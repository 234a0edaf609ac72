#include "framework/session/norvela.h"

#include "framework/net/netconnection.h"
#include "framework/session/packageloader.h"
#include "framework/ui/screens/savedoptions.h"
#include "framework/ui/screens/screenplacement.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace Norvela {

namespace {

struct Session {
    QString webUrl = QStringLiteral("127.0.0.1");
    int webPort = 7800;
    QString operador;
    QString password;
    QString filiProc;
    QPointer<QMainWindow> mainWindow;
};

Session &session() {
    static Session state;
    return state;
}

QMdiArea *mdiArea() {
    QMainWindow *window = session().mainWindow;
    return window ? qobject_cast<QMdiArea *>(window->centralWidget()) : nullptr;
}

QMdiSubWindow *subWindowOf(QMdiArea *area, QWidget *screen) {
    const auto windows = area->subWindowList();
    for (QMdiSubWindow *window : windows)
        if (window->widget() == screen)
            return window;
    return nullptr;
}

} // namespace

QString WebURL() {
    return session().webUrl;
}

int WebPort() {
    return session().webPort;
}

QString Operador() {
    return session().operador;
}

QString FiliProc() {
    return session().filiProc;
}

void LoadBPL(const QString &code, const QVariantList &params) {
    packageEntry(code)(params);
}

void setWebURL(const QString &host) {
    session().webUrl = host;
}

void setWebPort(int port) {
    session().webPort = port;
}

void setOperador(const QString &code, const QString &password) {
    session().operador = code;
    session().password = password;
    TNetConnection::setCredentialsProvider([] {
        return NetCredentials{session().operador, session().password};
    });
    SavedOptions::setOperatorProvider([] { return session().operador; });
}

void setFiliProc(const QString &code) {
    session().filiProc = code;
}

QMainWindow *mainWindow() {
    return session().mainWindow;
}

void setMainWindow(QMainWindow *window) {
    session().mainWindow = window;
}

void showChild(QWidget *screen) {
    QMdiArea *area = mdiArea();
    if (!area) {
        screen->show();
        screen->raise();
        screen->activateWindow();
        return;
    }
    QMdiSubWindow *window = subWindowOf(area, screen);
    if (!window) {
        const QSize initialSize = screen->testAttribute(Qt::WA_Resized) ? screen->size() : screen->sizeHint();
        window = area->addSubWindow(screen);
        window->setAttribute(Qt::WA_DeleteOnClose, screen->testAttribute(Qt::WA_DeleteOnClose));
        placeScreen(window, initialSize);
    }
    // Restored before the screen is shown: a minimized child window shows its screen itself.
    window->show();
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    screen->show();
    window->raise();
    area->setActiveSubWindow(window);
}

} // namespace Norvela
