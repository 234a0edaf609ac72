#include "appserver/recalc/postings.h"
#include "appserver/recalc/apportion.h"
#include "appserver/recalc/errorcodes.h"

QString Posting::reference() const {
    QString text = QStringList{key.branch, key.entry, key.sequence, key.instalment}.join(u'.');
    if (isAdjustment())
        text += QStringLiteral("-A%1").arg(adjustmentSequence);
    return text;
}

qint64 Posting::debits() const {
    qint64 sum = 0;
    for (const PostingLine &line : lines)
        sum += qMax<qint64>(line.cents, 0);
    return sum;
}

qint64 Posting::credits() const {
    qint64 sum = 0;
    for (const PostingLine &line : lines)
        sum += qMax<qint64>(-line.cents, 0);
    return sum;
}

qint64 Instalment::debitsBefore() const {
    qint64 sum = 0;
    for (const StoredLine &line : storedLines)
        sum += line.debit ? line.cents : 0;
    return sum;
}

QString historyText(const QString &pattern, const Instalment &instalment, const Adjustment *adjustment) {
    const QString document =
        instalment.series.isEmpty() ? instalment.document : instalment.document + u'/' + instalment.series;
    QString text = pattern;
    text.replace(QLatin1String("{DOCUMENTO}"), document)
        .replace(QLatin1String("{FORNECEDOR}"), instalment.supplierName)
        .replace(QLatin1String("{PARCELA}"), instalment.key.sequence + u'/' + instalment.key.instalment)
        .replace(QLatin1String("{AJUSTE}"), adjustment ? adjustment->description : QString());
    return text.left(200);
}

PostingBuilder::PostingBuilder(const Ledger &ledger)
    : m_ledger(ledger) {}

void PostingBuilder::add(const Instalment &instalment) {
    if (instalment.cancelled) {
        addEarlier(instalment);
        return;
    }
    const Apportionment apportionment = apportionmentOf(instalment, m_ledger);
    const int first = int(m_postings.size());
    m_postings << makePosting(instalment, nullptr);
    if (apportionment.error)
        addError(apportionment.error, m_postings.last());
    for (const Adjustment &adjustment : instalment.adjustments)
        m_postings << makePosting(instalment, &adjustment);
    for (int i = first; i < m_postings.size(); ++i)
        apportion(m_postings[i], apportionment);
    if (instalment.postedOutsidePeriod)
        addError(ErrorCode::PostedOutsidePeriod, m_postings.at(first));
}

void PostingBuilder::addEarlier(const Instalment &instalment) {
    if (instalment.earlierPostings.isEmpty())
        return;
    const int first = int(m_postings.size());
    for (Posting posting : instalment.earlierPostings) {
        for (PostingLine &line : posting.lines)
            line.runSequence = ++m_lineCount;
        m_postings << posting;
    }
    m_errors << PostingError{QString::fromLatin1(ErrorCode::PostedOutsidePeriod),
                             m_postings.at(first).lines.first().runSequence, false};
}

Posting PostingBuilder::makePosting(const Instalment &instalment, const Adjustment *adjustment) {
    Posting posting;
    posting.key = instalment.key;
    posting.supplier = instalment.supplier;
    const LineSource supplier{instalment.supplierAccount, ErrorCode::NoSupplierAccount};
    if (!adjustment) {
        posting.day = instalment.entryDay;
        if (!instalment.previousNumberTaken)
            posting.previousNumber = instalment.previousNumber;
        const bool known = m_ledger.accountTypes.contains(instalment.accountType);
        const AccountType type = m_ledger.accountTypes.value(instalment.accountType);
        addLines(posting, instalment.cents, {type.expenseAccount, ErrorCode::NoExpenseAccount}, supplier);
        if (!known)
            addError(ErrorCode::UnknownAccountType, posting);
        fillHistory(posting, type.history, instalment, nullptr);
        checkPosting(posting, instalment.cents);
        return posting;
    }
    posting.adjustmentSequence = adjustment->sequence;
    posting.day = adjustment->day;
    if (!adjustment->previousNumberTaken)
        posting.previousNumber = adjustment->previousNumber;
    const bool known = m_ledger.adjustmentTypes.contains(adjustment->type);
    const AdjustmentType type = m_ledger.adjustmentTypes.value(adjustment->type);
    const LineSource own{type.account, ErrorCode::NoAdjustmentAccount};
    if (type.discount)
        addLines(posting, adjustment->cents, supplier, own);
    else
        addLines(posting, adjustment->cents, own, supplier);
    if (!known)
        addError(ErrorCode::UnknownAdjustmentType, posting);
    fillHistory(posting, type.history, instalment, adjustment);
    checkPosting(posting, adjustment->cents);
    return posting;
}

void PostingBuilder::addLines(Posting &posting, qint64 cents, const LineSource &debit,
                              const LineSource &credit) {
    posting.lines.reserve(2);
    posting.lines << PostingLine{debit.account, cents, ++m_lineCount, {}}
                  << PostingLine{credit.account, -cents, ++m_lineCount, {}};
    checkAccount(posting.lines.at(0), debit, posting.isAdjustment());
    checkAccount(posting.lines.at(1), credit, posting.isAdjustment());
}

void PostingBuilder::fillHistory(Posting &posting, const QString &code, const Instalment &instalment,
                                 const Adjustment *adjustment) {
    posting.history = code;
    if (code.isEmpty())
        addError(ErrorCode::NoHistory, posting);
    else if (!m_ledger.histories.contains(code))
        addError(ErrorCode::UnknownHistory, posting);
    else
        posting.historyText = historyText(m_ledger.histories.value(code), instalment, adjustment);
}

void PostingBuilder::checkPosting(const Posting &posting, qint64 cents) {
    if (cents <= 0)
        addError(ErrorCode::NotPositive, posting);
    if (!m_ledger.inPeriod(posting.day))
        addError(ErrorCode::OutsidePeriod, posting);
    if (posting.debits() != posting.credits())
        addError(ErrorCode::Unbalanced, posting);
}

void PostingBuilder::checkAccount(const PostingLine &line, const LineSource &source, bool onAdjustment) {
    const char *code = nullptr;
    if (line.account.isEmpty())
        code = source.missingCode;
    else if (!m_ledger.accounts.contains(line.account))
        code = ErrorCode::UnknownAccount;
    else if (!m_ledger.accounts.value(line.account).analytic)
        code = ErrorCode::SyntheticAccount;
    if (code)
        m_errors << PostingError{QString::fromLatin1(code), line.runSequence, onAdjustment};
}

void PostingBuilder::addError(const char *code, const Posting &posting) {
    m_errors << PostingError{QString::fromLatin1(code), posting.lines.first().runSequence,
                             posting.isAdjustment()};
}
