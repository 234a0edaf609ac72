#pragma once

#include "framework/core/messages.h"
#include "framework/ui/messages/messageservice.h"

// Shows the text of key from messages through the current message service and returns the
// DialogResult of the button pressed (ResultYes, 6, for Yes). The help context is accepted for
// the callers' sake; the dialogs carry no help button.
int ShowMsg(const TMessages &messages, const QString &key, DialogType type, DialogButtons buttons,
            int helpContext = 0);
