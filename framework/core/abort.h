#pragma once

#include "framework/core/pagcore_export.h"

#include <QString>
#include <exception>
#include <functional>

// The silent abort: ends the running handler without a further message.
struct PAGCORE_EXPORT SilentAbort : std::exception {
    const char *what() const noexcept override { return "silent abort"; }
};

// Installs the function that shows error texts to the user (a message box in the application,
// a recorder in tests). Without one, texts are written to the debug output.
PAGCORE_EXPORT void setErrorDisplay(std::function<void(const QString &)> display);

// Shows the text through the installed display; when stop is true, throws SilentAbort afterwards.
PAGCORE_EXPORT void MensErro(const QString &text, bool stop);
