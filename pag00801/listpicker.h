#pragma once

#include <QString>

class DataSource;

// The list picker as the filter uses it, over the code lists that GetCntPagar reads
// (server_contract/listargs.h): the codes of `list` come up ticked; "OK" writes the chosen codes
// into list, "Cancelar" leaves it as it was. A code that no list can carry is shown but cannot be
// chosen, and a choice holds at most CodeList::maxCodes codes, so the list is never one that the
// server would refuse. A list text that is no code list ticks nothing.
void PesquisaLista(DataSource *source, const QString &keyField, const QString &title, bool markAll,
                   QString &list);
