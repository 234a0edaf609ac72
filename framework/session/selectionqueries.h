#pragma once

class TADOIBQuery;

// The fixed selection-list statements read from the shared database, with their fields
// (labels, sizes, visibility) declared on the query. Each function fills a fresh, closed query.

// FORNECEDOR: IDTPIJURFORN (hidden), NRINSJURFORN, NMFANTFORN, NMRAZSOCFORN, CDFORNECED (hidden key).
void prepareFornecedorQuery(TADOIBQuery *query);
// FILIAL: CDFILIAL, NMFILIAL, by code.
void prepareFilialQuery(TADOIBQuery *query);
// TIPOCTPAGAR: CDTPCTPAGAR, DSTPCTPAGAR.
void prepareTipoCtPagarQuery(TADOIBQuery *query);
