#pragma once

#include <QPointer>
#include <QWidget>

// Stops a window from repainting while bulk work changes it; the window repaints once at the end.
class WindowUpdateLock {
public:
    explicit WindowUpdateLock(QWidget *widget);
    ~WindowUpdateLock();
    WindowUpdateLock(const WindowUpdateLock &) = delete;
    WindowUpdateLock &operator=(const WindowUpdateLock &) = delete;

private:
    QPointer<QWidget> window;
    bool wasEnabled = true;
};

// Process-wide lock of one window at a time: locking another window releases the first,
// nullptr releases the lock.
void LockWindowUpdate(QWidget *widget);
