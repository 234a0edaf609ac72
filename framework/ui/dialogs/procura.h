#pragma once

#include <QString>

class ClientDataSet;

// Search dialog over an open dataset: the user chooses a column (a visible field) and types a
// value; "OK" moves the cursor to the first row whose text in that column begins with the value,
// letter case ignored. When no row matches, "Registro não encontrado." is shown and the cursor
// stays. The dialog's objectName is "dlgProcura", with "cbbCampo", "edtValor".
void Procura(ClientDataSet *rows);

// The first view row whose displayed text of field begins with value (case ignored), or -1.
int findRow(ClientDataSet *rows, int fieldIndex, const QString &value);
