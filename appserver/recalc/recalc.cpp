#include "appserver/recalc/recalc.h"
#include "appserver/db/database.h"
#include "appserver/recalc/answer.h"
#include "appserver/recalc/audit.h"
#include "appserver/recalc/holds.h"
#include "appserver/recalc/instalments.h"
#include "appserver/recalc/ledger.h"
#include "appserver/recalc/markedrows.h"
#include "appserver/recalc/numbering.h"
#include "appserver/recalc/postings.h"
#include "appserver/recalc/runsql.h"
#include "appserver/recalc/writer.h"
#include "appserver/server/module.h"
#include "server_contract/recconpag.h"

#include <QDateTime>
#include <QLocale>

namespace {

// NRSEQCTBTEMP of the errors packet holds five digits.
constexpr int maxLinesPerRun = 99999;

QString errorStatus(const QList<PostingError> &errors) {
    for (const PostingError &error : errors)
        if (!error.onAdjustment)
            return RecConPag::StatusErroContabilizacao;
    return RecConPag::StatusAjustContab;
}

// The postings the instalments will give.
qsizetype postingCount(const QList<Instalment> &instalments) {
    qsizetype count = 0;
    for (const Instalment &instalment : instalments)
        count += instalment.postingCount();
    return count;
}

RecalcResult tooManyLines() {
    return emptyAnswer(QStringLiteral("O recálculo está limitado a %1 lançamentos por vez; marque menos "
                                      "contas a pagar e confirme novamente.")
                           .arg(QLocale(QLocale::Portuguese, QLocale::Brazil).toString(maxLinesPerRun)));
}

RecalcResult run(QSqlDatabase &db, const QList<InstalmentKey> &keys, const QString &operatorCode,
                 const QString &company, std::chrono::milliseconds maxWait) {
    if (countLines(db, keys) > maxLinesPerRun)
        return tooManyLines();
    const qint64 started = QDateTime::currentSecsSinceEpoch();
    RunTransaction transaction(db, maxWait);
    const Ledger ledger = behindOtherRuns([&] {
        transaction.limitLockWait();
        return readLedger(db, company);
    });
    if (!ledger.hasOpenPeriod)
        return emptyAnswer(
            QStringLiteral("A empresa %1 não tem período contábil aberto; o recálculo não pode ser feito.")
                .arg(company));
    // On PostgreSQL the company's runs queue here, one at a time, for its posting counter.
    PostingNumbers numbers = behindOtherRuns([&] {
        transaction.limitLockWait();
        return PostingNumbers(db, company);
    });
    lockInstalments(db, transaction, keys);
    QList<Instalment> instalments = readInstalments(db, keys, ledger);
    if (heldByOthers(db, keys, company, operatorCode, started))
        return emptyAnswer(RecConPag::StatusAltBloq);

    PostingBuilder builder(ledger);
    builder.reserve(postingCount(instalments));
    for (const Instalment &instalment : instalments)
        builder.add(instalment);
    // Adjustments added since the lines were counted.
    if (builder.lineCount() > maxLinesPerRun)
        return tooManyLines();
    numbers.assign(builder.postings());
    if (!builder.errors().isEmpty())
        return makeAnswer(errorStatus(builder.errors()), builder.postings(), builder.errors(), ledger);

    saveLastNumber(db, company, numbers.last());
    recordRun(db, operatorCode, company, started,
              writePostings(db, company, operatorCode, instalments, builder.postings(), started));
    transaction.commit();
    // The answer needs only the postings.
    instalments = {};
    return makeAnswer(RecConPag::StatusOk, builder.postings(), {}, ledger);
}

} // namespace

RecalcResult recalculate(QSqlDatabase &db, const DataPacket &payables, const QString &operatorCode,
                         const QString &company, std::chrono::milliseconds maxWait) {
    const QList<InstalmentKey> keys = readMarkedKeys(payables);
    if (!operatorMayUseCompany(db, operatorCode, company))
        throw ServerFailure(
            QStringLiteral("O operador %1 não tem acesso à empresa %2.").arg(operatorCode, company));
    if (keys.isEmpty())
        return emptyAnswer(QStringLiteral("Nenhuma conta a pagar está marcada para o recálculo."));
    try {
        return run(db, keys, operatorCode, company, maxWait);
    } catch (const RunBusy &) {
        return emptyAnswer(RecConPag::StatusAltBloq);
    } catch (const RunQueueFull &) {
        return emptyAnswer(
            QStringLiteral("Outro recálculo em andamento não terminou em %1 segundos; confirme "
                           "novamente em instantes.")
                .arg(std::chrono::ceil<std::chrono::seconds>(maxWait).count()));
    }
}
