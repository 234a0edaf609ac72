#pragma once

#include "framework/core/datapacket.h"

#include <QString>

// What the recalculation benchmarks share: fresh databases seeded with postable instalments and one
// SetConfirmar call through the real server.

// A new, empty PostgreSQL database on the cluster of `adminUrl`, named after this process and `tag`.
QString freshPostgres(const QString &adminUrl, const QString &tag);

// Migrates the database, seeds the demo organisation and `instalments` postable instalments of company
// 01; returns the payable packet with all of them marked.
DataPacket seedPostable(const QString &url, int instalments);

struct RunFigures {
    double seconds = 0;
    QString status;
};

// One SetConfirmar of company 01 as "admin" on the server at `port`.
RunFigures confirm(quint16 port, const DataPacket &payables);
