#pragma once

#include "framework/core/datapacket.h"

#include <QDate>
#include <QSqlDatabase>
#include <QStringList>

#include <optional>

class CallArgs;

// An inclusive range; an unset end leaves that side open.
struct Range {
    std::optional<qint64> from;
    std::optional<qint64> to;
};

// The criteria of a payable fetch, read strictly from the 26 arguments of GetCntPagar.
struct CntPagarCriteria {
    QString company;
    std::optional<QStringList> suppliers; // set when the fetch is restricted to a list
    std::optional<QStringList> originBranches;
    std::optional<QStringList> postingBranches;
    std::optional<QStringList> accountTypes;
    QString documentFrom; // document numbers as sent; empty = open end
    QString documentTo;
    Range issued, entered, due;                   // day counts
    Range documentValue, originalValue, netValue; // cents
    bool overdue = false;
    bool notYetDue = false;
    QChar accounted = u'T'; // 'C' accounted only, 'N' not accounted only, 'T' both

    // Throws BadCall on a malformed argument (a list of bad format, an unknown accounting state).
    static CntPagarCriteria fromArgs(const CallArgs &args);
    // Writes the lists back in their normalised form (repetitions dropped).
    void writeBack(CallArgs &args) const;
};

// The payable rows of the company that meet the criteria, ordered by due date and key, with the
// fields of RecConPag::cntPagarFields; `today` decides overdue and not yet due. A fetch that finds more
// than `maxRows` rows fails with a ServerFailure that asks the user to narrow the filter.
DataPacket fetchCntPagar(QSqlDatabase &db, const CntPagarCriteria &criteria, int maxRows,
                         const QDate &today = QDate::currentDate());
