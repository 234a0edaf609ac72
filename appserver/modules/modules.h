#pragma once

#include "appserver/server/module.h"
#include "appserver/server/serversettings.h"

// Adds the two remote modules of the application server: "PAG00800.rdmRecConPag" and
// "PAG00801.rdmFiltroRecContPagar". A payable fetch answers at most `maxFetchRows` rows.
void registerModules(ModuleRegistry &registry, int maxFetchRows = ServerSettings().maxFetchRows);
