#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

// Enter and exit events of panels and edits, taken from real focus changes only: a move of the
// focus between two widgets of the same scope, a scope being a child window of an MDI area (one
// screen of the host) or else a window. A focus change caused by a message box, a popup, another
// window or another child window becoming active is neither an exit nor an enter; when the focus
// returns to the scope on another widget than the one it left, that move is reported then. The
// focus resting on a child window itself (which hands it on to one of its widgets) is no move.
//
// On a move from A to B the exit handlers of the watched widgets that contain A but not B run
// innermost first, then the enter handlers of those that contain B but not A, outermost first.
// Each handler runs through the handler guard. When an exit handler fails (the silent abort or
// any other exception) the move is cancelled: no further handler runs, and if the handler did
// not put the focus somewhere itself, the focus goes back to A. Focus moves that handlers make
// while running are not reported again; when the handlers leave the focus on another widget than
// B, that move is processed as a new change once they are done.
class FocusEvents : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void()>;

    static FocusEvents &instance();

    void setOnEnter(QWidget *widget, Handler handler);
    void setOnExit(QWidget *widget, Handler handler);

private:
    struct Handlers {
        Handler enter;
        Handler exit;
    };

    FocusEvents();
    Handlers &handlersOf(QWidget *widget);
    void focusChanged(QWidget *old, QWidget *now);
    void processMove(QWidget *old, QWidget *now, int depth);
    QList<QWidget *> watchedAround(QWidget *widget) const;
    bool runExits(QWidget *old, QWidget *now);
    void runEnters(QWidget *old, QWidget *now);
    void moveFocusQuietly(QWidget *widget);
    void remember(QWidget *scope, QWidget *widget);

    QHash<QWidget *, Handlers> watched;
    // The widget of each scope that had the focus last.
    QHash<const QWidget *, QPointer<QWidget>> lastFocus;
    bool dispatching = false;
};

// Shorthands for FocusEvents::instance().
void onFocusEnter(QWidget *widget, FocusEvents::Handler handler);
void onFocusExit(QWidget *widget, FocusEvents::Handler handler);
