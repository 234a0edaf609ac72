#pragma once

#include <QIcon>
#include <QString>

// The system's name as windows and the sign-in show it.
QString systemName();

// The host's own icon: a payable slip with a due-date band, so the windows are recognisable as
// the accounts-payable client.
QIcon applicationIcon();
