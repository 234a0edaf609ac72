#pragma once

#include "framework/core/datapacket.h"

class TNetConnection;

// The lines and apportionment of the posting stored under one number for one company.
struct LancamentoGravado {
    DataPacket linhas;
    DataPacket rateio;
};

// Asks the recalculation module (GetLancContabil). A failure reported by the server, such as a company
// the operator may not work with, is shown by CheckResultServ and ends the caller with the silent abort.
LancamentoGravado buscaLancamentoGravado(TNetConnection &net, const QString &empresa, const QString &numero);
