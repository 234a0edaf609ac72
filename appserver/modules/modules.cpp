#include "appserver/modules/modules.h"
#include "appserver/modules/filtromodule.h"
#include "appserver/modules/recconpagmodule.h"

void registerModules(ModuleRegistry &registry) {
    registry.add<RecConPagModule>();
    registry.add<FiltroRecContPagarModule>();
}
