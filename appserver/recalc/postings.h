#pragma once

#include "appserver/recalc/ledger.h"
#include "appserver/recalc/model.h"

// Builds the postings of instalments, with their apportionment, and collects their errors.
//
// The instalment: debit the account type's expense account, credit the supplier's account, by the
// instalment's current value, on the document's entry date. A discount: debit the supplier, credit
// the adjustment type's account; an addition: debit the adjustment type's account, credit the
// supplier; by the adjustment's value on its date. Each posting carries the history of its type with
// the fields filled in. A cancelled instalment gets no posting. An instalment with an earlier posting
// outside the open period is refused (D02); a cancelled one shows those earlier postings instead.
class PostingBuilder {
public:
    explicit PostingBuilder(const Ledger &ledger);

    void reserve(qsizetype postings) { m_postings.reserve(postings); }
    void add(const Instalment &instalment);

    const QList<Posting> &postings() const { return m_postings; }
    QList<Posting> &postings() { return m_postings; }
    const QList<PostingError> &errors() const { return m_errors; }
    int lineCount() const { return m_lineCount; }

private:
    struct LineSource {
        QString account;
        const char *missingCode;
    };
    Posting makePosting(const Instalment &instalment, const Adjustment *adjustment);
    // The earlier postings of a cancelled instalment that the run may not remove, with their error.
    void addEarlier(const Instalment &instalment);
    void addLines(Posting &posting, qint64 cents, const LineSource &debit, const LineSource &credit);
    void fillHistory(Posting &posting, const QString &code, const Instalment &instalment,
                     const Adjustment *adjustment);
    void checkPosting(const Posting &posting, qint64 cents);
    void checkAccount(const PostingLine &line, const LineSource &source, bool onAdjustment);
    // Records an error on the posting as a whole, referring to its first line.
    void addError(const char *code, const Posting &posting);

    const Ledger &m_ledger;
    QList<Posting> m_postings;
    QList<PostingError> m_errors;
    int m_lineCount = 0;
};

// The history template with {DOCUMENTO}, {FORNECEDOR}, {PARCELA} and {AJUSTE} filled in, cut to the
// 200 characters of DSHISTCTB.
QString historyText(const QString &pattern, const Instalment &instalment, const Adjustment *adjustment);
