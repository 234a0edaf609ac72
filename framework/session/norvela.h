#pragma once

#include <QString>
#include <QVariantList>

class QMainWindow;
class QWidget;

// Facts of the signed-in session and the host services that packages call.
// Everything here lives once per process, in the shared framework library.
namespace Norvela {

// Address and port of the application server; every connection uses them each time it connects.
QString WebURL();
int WebPort();
// Code of the signed-in operator (empty before sign-in).
QString Operador();
// Code of the processing branch.
QString FiliProc();

// Opens the screen of the package that holds `code` (e.g. "CTB10200") with `params`.
// The package library is loaded once and its entry IniProc(params) is called on every call.
// Throws PackageError (Portuguese message) when the package or its entry is missing.
void LoadBPL(const QString &code, const QVariantList &params = {});

void setWebURL(const QString &host);
void setWebPort(int port);
// Also hands the operator's credentials to every TNetConnection's hello and the operator to the
// saved filter options.
void setOperador(const QString &code, const QString &password = {});
void setFiliProc(const QString &code);

// The host's main window, where screens become child windows; null outside the host.
QMainWindow *mainWindow();
void setMainWindow(QMainWindow *window);
// The one way a package puts its screen in the host: the first call makes it a child window of the
// main window (or shows it on its own when there is no main window), placed by placeScreen at the
// size the screen was given before; every call shows it, restores it when minimized and brings it
// to the front. The child window is deleted on close when the screen is; one that only hides is
// kept.
void showChild(QWidget *screen);

} // namespace Norvela
