#include "appserver/recalc/answer.h"
#include "framework/core/money.h"
#include "server_contract/recconpag.h"

namespace {

void addEntries(DataPacket &entries, const Posting &posting, const Ledger &ledger) {
    const QString kind = posting.isAdjustment() ? QStringLiteral("A") : QStringLiteral("P");
    const QString reference = posting.reference();
    for (const PostingLine &line : posting.lines) {
        const Account account = ledger.accounts.value(line.account);
        entries.appendRow({ledger.company, account.reduced, account.name, posting.number,
                           QString::number(line.runSequence), line.account, posting.history,
                           posting.historyText, double(posting.day), fromCents(line.cents), kind,
                           posting.supplier, ledger.companyName, reference});
    }
}

void addSplits(DataPacket &apportionment, const Posting &posting, const Ledger &ledger) {
    for (const PostingLine &line : posting.lines) {
        int sequence = 0;
        for (const Split &split : line.splits)
            apportionment.appendRow({split.branch, ledger.branches.value(split.branch), split.costCentre,
                                     ledger.costCentres.value(split.costCentre), fromCents(split.cents),
                                     QString::number(line.runSequence), posting.number, double(posting.day),
                                     ledger.company, QString::number(++sequence)});
    }
}

} // namespace

RecalcResult makeAnswer(const QString &status, const QList<Posting> &postings,
                        const QList<PostingError> &errors, const Ledger &ledger) {
    RecalcResult result = emptyAnswer(status);
    for (const Posting &posting : postings) {
        addEntries(result.entries, posting, ledger);
        addSplits(result.apportionment, posting, ledger);
    }
    for (const PostingError &error : errors)
        result.errors.appendRow({error.code, QString::number(error.lineSequence)});
    return result;
}

RecalcResult emptyAnswer(const QString &status) {
    return {status, DataPacket(RecConPag::lancContTempFields()), DataPacket(RecConPag::rateioFields()),
            DataPacket(RecConPag::errosTempFields())};
}
