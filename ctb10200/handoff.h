#pragma once

#include "framework/core/datapacket.h"

#include <QVariantList>

// What a screen hands the accounting preview: LoadBPL("CTB10200", {company, posting number, entries,
// apportionment, errors}), each packet with the fields of the recalculation's answer packets.
struct PreviaContabil {
    QString empresa;
    QString lancamento;
    DataPacket lancamentos;
    DataPacket rateio;
    DataPacket erros;

    // Packets without rows ask for the postings stored under the posting number.
    bool pedeLancamentoGravado() const;
};

// Reads the five elements. A wrong count, an element of the wrong kind or a packet with rows that
// lacks a field of its answer packet is reported with MensErro(text, true).
PreviaContabil lePrevia(const QVariantList &params);
