#include "framework/ui/messages/showmsg.h"

int ShowMsg(const TMessages &messages, const QString &key, DialogType type, DialogButtons buttons,
            int helpContext) {
    Q_UNUSED(helpContext);
    return MessageService::current().show(type, messages.Msg(key), buttons);
}
