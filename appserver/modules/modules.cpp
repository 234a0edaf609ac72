#include "appserver/modules/modules.h"
#include "appserver/modules/filtromodule.h"
#include "appserver/modules/recconpagmodule.h"

void registerModules(ModuleRegistry &registry, int maxFetchRows) {
    registry.add([maxFetchRows] { return std::make_unique<RecConPagModule>(maxFetchRows); });
    registry.add<FiltroRecContPagarModule>();
}
