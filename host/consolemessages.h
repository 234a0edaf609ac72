#pragma once

#include "framework/ui/messages/messageservice.h"

// For unattended runs (--screenshot): no window can wait for a click, so texts go to the
// standard error, questions take their first button and a name asked for is cancelled.
class ConsoleMessages : public MessageService {
public:
    int show(DialogType type, const QString &text, DialogButtons buttons) override;
    QString chooseName(const QString &prompt, const QStringList &names, bool allowNew) override;
};
