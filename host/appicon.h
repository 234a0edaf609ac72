#pragma once

#include <QIcon>

// The host's own icon, drawn at the sizes window frames and task bars ask for: a payable slip
// with a due-date band, so the windows are recognisable as the accounts-payable client.
QIcon applicationIcon();
