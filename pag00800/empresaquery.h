#pragma once

class TADOIBQuery;

// The company list of the screen, read from the shared database: EMPRESA's CDEMPRESA ("Código",
// required), NMEMPRESA ("Nome") and CDCENTCUST (hidden), by code. Parameter P_CDEMPRESA: one
// company, or every company when it is empty. Fills a fresh, closed query.
void prepareEmpresaQuery(TADOIBQuery *query);
