#pragma once

class TADOIBQuery;

// The tables of the filter's list groups, read from the shared database, with their fields (labels,
// sizes, visibility) declared on the query. Each function fills a fresh, closed query. Codes come
// in the same order on SQLite and PostgreSQL (byte order, whatever the database's collation).

// FORNECEDOR: IDTPIJURFORN (hidden), NRINSJURFORN, NMFANTFORN, NMRAZSOCFORN, CDFORNECED (hidden
// key), by code.
void prepareFornecedorQuery(TADOIBQuery *query);
// FILIAL: CDFILIAL, NMFILIAL, by code.
void prepareFilialQuery(TADOIBQuery *query);
// TIPOCTPAGAR: CDTPCTPAGAR, DSTPCTPAGAR, in the table's order.
void prepareTipoCtPagarQuery(TADOIBQuery *query);
