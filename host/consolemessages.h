#pragma once

#include "framework/ui/messages/messageservice.h"

// For unattended runs (--screenshot): no window can wait for a click, so texts go to the
// standard error, questions take their first button and a name asked for is cancelled.
class ConsoleMessages : public MessageService {
public:
    int show(DialogType type, const QString &text, DialogButtons buttons) override;
    QString chooseName(const QString &prompt, const QStringList &names, bool allowNew) override;

    // Errors shown so far: a run that met one did not show what it was asked to.
    int errorsShown() const { return m_errors; }

private:
    int m_errors = 0;
};
