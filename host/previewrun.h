#pragma once

#include <QString>

// For the screenshot of the accounting preview over the demo data: recalculates, for `company`, its
// first two payables of account type DIVER (which has no expense account), a run that the server
// refuses with accounting errors, and hands the answer to CTB10200 as the recalculation screen does
// after a failed run. Failures are reported through MensErro and end with the silent abort.
void openPreviewOfFailedRun(const QString &company);
