#pragma once

#include <QString>

class DataSource;

// Modal multiple choice over the rows of a data source, the codes of keyField identifying them.
// The codes already in list come up marked; markAll marks every row at the start. On "OK" list
// becomes the chosen codes in the code-list format that the application server reads (codes joined
// by ";"); on "Cancelar" list is left as it was. The dataset's cursor is not moved.
// The dialog's objectName is "dlgPesquisaLista", its check list "lstPesquisaLista".
void PesquisaLista(DataSource *source, const QString &keyField, const QString &title, bool markAll,
                   QString &list);
