#pragma once

#include <QString>

class DataSource;

// Modal single choice over the rows of a data source: the user picks a row (double click, Enter
// or "OK") and the dataset's cursor is left on it. Returns false when the user cancels, with the
// cursor where it was. The dialog's objectName is "dlgPickRow", its grid "dbgPickRow".
bool pickRow(DataSource *source, const QString &title);
