#pragma once

#include <QSize>

#include <memory>

class QMdiSubWindow;
class QSettings;

// Where windows are kept between runs: janelas.ini in the user's configuration folder (pag/).
std::unique_ptr<QSettings> windowSettings();

// Places a screen's child window in its MDI area so that a clerk sees it whole: where the user
// left it the last time (keyed by the screen's objectName), else centred at `initialSize`; a place
// that no longer fits is moved, and shrunk if need be, into the visible area. While the area
// changes size the window is kept whole (and centred until the user moves it); its place is
// remembered whenever it is hidden or closed.
void placeScreen(QMdiSubWindow *window, QSize initialSize);
