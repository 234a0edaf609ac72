#include "framework/ui/focus/focusevents.h"

#include "framework/ui/messages/guard.h"

#include <QApplication>
#include <QScopedValueRollback>
#include <QWidget>

namespace {

constexpr int maxFollowUpMoves = 4;

bool contains(QWidget *outer, QWidget *inner) {
    return inner && (outer == inner || outer->isAncestorOf(inner));
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

// A move between two widgets of one window is reported as it happens. When the focus comes back
// to a window (from a message box, a popup or another window) on another widget than the one that
// had it there, that is a move too: from the window's last focus widget.
void FocusEvents::focusChanged(QWidget *old, QWidget *now) {
    if (dispatching || !now)
        return;
    const QPointer<QWidget> window(now->window());
    QWidget *previous = old && old->window() == window ? old : lastFocus.value(window).data();
    if (previous && previous != now)
        processMove(previous, now, 0);
    if (window)
        rememberFocus(window);
}

void FocusEvents::rememberFocus(QWidget *window) {
    if (!lastFocus.contains(window))
        connect(window, &QObject::destroyed, this, [this, window] { lastFocus.remove(window); });
    lastFocus[window] = window->focusWidget();
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
    if (landed && now && landed != now && landed->window() == now->window() && depth < maxFollowUpMoves)
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
