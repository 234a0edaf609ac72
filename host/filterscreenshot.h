#pragma once

#include <QString>

// For the screenshots of the filter dialog PAG00801: opens it modally through the entry
// CriaFiltroRecContPagar of the recalculation package (loaded by --open PAG00800), saves each of its
// pages as "<file without .png>-filtro-<n>.png" and closes it. Returns whether every page was saved.
bool saveFilterPages(const QString &file);
