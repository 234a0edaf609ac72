#include "framework/ui/feedback/updatelock.h"

#include <memory>

WindowUpdateLock::WindowUpdateLock(QWidget *widget)
    : window(widget ? widget->window() : nullptr) {
    if (!window)
        return;
    wasEnabled = window->updatesEnabled();
    window->setUpdatesEnabled(false);
}

WindowUpdateLock::~WindowUpdateLock() {
    if (window && wasEnabled)
        window->setUpdatesEnabled(true);
}

void LockWindowUpdate(QWidget *widget) {
    static std::unique_ptr<WindowUpdateLock> current;
    current.reset();
    if (widget)
        current = std::make_unique<WindowUpdateLock>(widget);
}
