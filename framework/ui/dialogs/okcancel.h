#pragma once

#include <QDialogButtonBox>

class QDialog;

// An "OK" / "Cancelar" button box in the dialog that accepts or rejects it; the caller places it.
QDialogButtonBox *okCancelButtons(QDialog *dialog);
