#pragma once

#include "appserver/server/module.h"

// Adds the two remote modules of the application server: "PAG00800.rdmRecConPag" and
// "PAG00801.rdmFiltroRecContPagar".
void registerModules(ModuleRegistry &registry);
