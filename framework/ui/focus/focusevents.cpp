#include "framework/ui/focus/focusevents.h"

#include "framework/ui/messages/guard.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QScopedValueRollback>
#include <QWidget>

namespace {

constexpr int maxFollowUpMoves = 4;

bool contains(QWidget *outer, QWidget *inner) {
    return inner && (outer == inner || outer->isAncestorOf(inner));
}

// Where the user's moves are followed: the child window of an MDI area that holds the widget (each
// screen of the host is one), otherwise its window.
QWidget *scopeOf(QWidget *widget) {
    QWidget *scope = widget;
    while (scope && !scope->isWindow() && !qobject_cast<QMdiSubWindow *>(scope))
        scope = scope->parentWidget();
    return scope;
}

} // namespace

FocusEvents &FocusEvents::instance() {
    static FocusEvents *events = new FocusEvents;
    return *events;
}

FocusEvents::FocusEvents() {
    connect(qApp, &QApplication::focusChanged, this, &FocusEvents::focusChanged);
}

FocusEvents::Handlers &FocusEvents::handlersOf(QWidget *widget) {
    if (!watched.contains(widget))
        connect(widget, &QObject::destroyed, this, [this, widget] { watched.remove(widget); });
    return watched[widget];
}

void FocusEvents::setOnEnter(QWidget *widget, Handler handler) {
    handlersOf(widget).enter = std::move(handler);
}

void FocusEvents::setOnExit(QWidget *widget, Handler handler) {
    handlersOf(widget).exit = std::move(handler);
}

// A move between two widgets of one scope is reported as it happens. When the focus comes back to
// a scope (from a message box, a popup, another window or another child window) on another widget
// than the one that had it there, that is a move too: from the scope's last focus widget. A child
// window that takes the focus itself (a click on a part of it that takes no focus) hands it on to
// one of its widgets at once; only where it lands counts.
void FocusEvents::focusChanged(QWidget *old, QWidget *now) {
    if (dispatching)
        return;
    QWidget *oldScope = old ? scopeOf(old) : nullptr;
    if (oldScope && old != oldScope)
        remember(oldScope, old);
    if (!now)
        return;
    QWidget *scope = scopeOf(now);
    if (now == scope)
        return;
    QWidget *previous = lastFocus.value(scope).data();
    if (previous && previous != now)
        processMove(previous, now, 0);
    QWidget *landed = QApplication::focusWidget();
    if (landed && landed != scope && scopeOf(landed) == scope)
        remember(scope, landed);
}

void FocusEvents::remember(QWidget *scope, QWidget *widget) {
    if (!lastFocus.contains(scope))
        connect(scope, &QObject::destroyed, this, [this, scope] { lastFocus.remove(scope); });
    lastFocus[scope] = widget;
}

void FocusEvents::processMove(QWidget *oldWidget, QWidget *nowWidget, int depth) {
    const QPointer<QWidget> old(oldWidget);
    const QPointer<QWidget> now(nowWidget);
    {
        QScopedValueRollback<bool> busy(dispatching, true);
        if (!runExits(old, now)) {
            if (old && QApplication::focusWidget() == now)
                moveFocusQuietly(old);
            return;
        }
        runEnters(old, now);
    }
    QWidget *landed = QApplication::focusWidget();
    if (landed && now && landed != now && scopeOf(landed) == scopeOf(now) && depth < maxFollowUpMoves)
        processMove(now, landed, depth + 1);
}

// Watched widgets that contain widget, innermost first.
QList<QWidget *> FocusEvents::watchedAround(QWidget *widget) const {
    QList<QWidget *> result;
    for (QWidget *w = widget; w; w = w->parentWidget())
        if (watched.contains(w))
            result.append(w);
    return result;
}

bool FocusEvents::runExits(QWidget *old, QWidget *now) {
    for (QWidget *scope : watchedAround(old)) {
        if (contains(scope, now))
            continue;
        const Handler handler = watched.value(scope).exit;
        if (handler && !guardCompleted(handler))
            return false;
    }
    return true;
}

void FocusEvents::runEnters(QWidget *old, QWidget *now) {
    const QList<QWidget *> scopes = watchedAround(now);
    for (auto it = scopes.rbegin(); it != scopes.rend(); ++it) {
        QWidget *scope = *it;
        if (contains(scope, old))
            continue;
        const Handler handler = watched.value(scope).enter;
        if (handler && !guardCompleted(handler))
            return;
    }
}

void FocusEvents::moveFocusQuietly(QWidget *widget) {
    QScopedValueRollback<bool> busy(dispatching, true);
    widget->setFocus(Qt::OtherFocusReason);
}

void onFocusEnter(QWidget *widget, FocusEvents::Handler handler) {
    FocusEvents::instance().setOnEnter(widget, std::move(handler));
}

void onFocusExit(QWidget *widget, FocusEvents::Handler handler) {
    FocusEvents::instance().setOnExit(widget, std::move(handler));
}
