#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QVariantList>

#include <tuple>

// The data a recalculation run works on. Money is in whole cents, dates are day counts from
// 1899-12-30 as the database keeps them.

// The key of one payable instalment.
struct InstalmentKey {
    QString branch;     // CDFILIAL
    QString entry;      // NRLANCTONF
    QString sequence;   // NRSEQVENPAG
    QString instalment; // NRPARCELAPAG

    bool operator==(const InstalmentKey &) const = default;
    bool operator<(const InstalmentKey &other) const {
        return std::tie(branch, entry, sequence, instalment) <
               std::tie(other.branch, other.entry, other.sequence, other.instalment);
    }
    // The key's columns in the order of the instalment tables' primary key, for binding.
    QVariantList values() const { return {branch, entry, sequence, instalment}; }
    // How the user reads it in messages: branch/entry-sequence/instalment.
    QString text() const { return QStringLiteral("%1/%2-%3/%4").arg(branch, entry, sequence, instalment); }
};

inline size_t qHash(const InstalmentKey &key, size_t seed = 0) {
    return qHashMulti(seed, key.branch, key.entry, key.sequence, key.instalment);
}

struct Adjustment {
    int sequence = 0; // NRSEQAJUPAG
    qint64 day = 0;
    QString type;
    QString description;
    qint64 cents = 0;
    QString previousNumber;           // NRLCTBAJPAG before the run
    bool previousNumberTaken = false; // a posting of another origin uses previousNumber
};

// One apportionment rule: a share of the instalment for a branch and cost centre, in hundredths of
// a percent (10000 = 100%).
struct ApportionRule {
    QString branch;
    QString costCentre;
    int share = 0;
};

// One part of a posting line for a branch and cost centre.
struct Split {
    QString branch;
    QString costCentre;
    qint64 cents = 0; // signed like its line
};

// One line of a posting: positive cents are a debit, negative a credit.
struct PostingLine {
    QString account;
    qint64 cents = 0;
    int runSequence = 0; // unique within the run: what the answer's packets refer to
    QList<Split> splits;
};

// One accounting posting: the instalment's own (adjustmentSequence 0) or one adjustment's.
struct Posting {
    InstalmentKey key;
    int adjustmentSequence = 0;
    QString supplier; // the commercial party of the posting
    QString number;
    qint64 day = 0;
    QString history;
    QString historyText;
    QString previousNumber; // the number to keep, empty when it had none or another origin uses it
    QList<PostingLine> lines;

    bool isAdjustment() const { return adjustmentSequence != 0; }
    // The document it comes from (CDDOCUCONT): branch.entry.sequence.instalment, with -A and the
    // adjustment's number for an adjustment.
    QString reference() const;
    qint64 debits() const;
    qint64 credits() const;
};

// A posting line stored before the run for one of the instalment's postings (its own when
// adjustmentSequence is 0), by its key in LANCCONTABIL.
struct StoredLine {
    QString company;
    QString number;
    int sequence = 0; // NRSEQCTB
    int adjustmentSequence = 0;
    qint64 day = 0;
    bool debit = false;
    qint64 cents = 0;
    int lastSplit = 0; // the highest NRSEQRAT of its splits, 0 without any
};

struct Instalment {
    InstalmentKey key;
    QString postingBranch; // CDFILILANC
    QString accountType;
    QString supplier;
    QString supplierName;
    QString supplierAccount;
    QString document; // NRNOTAFISC
    QString series;   // CDSERIEENTR
    qint64 entryDay = 0;
    qint64 cents = 0;                 // VRATUAPAG
    QString previousNumber;           // NRLANCTBDOC before the run
    bool previousNumberTaken = false; // a posting of another origin uses previousNumber
    QList<StoredLine> storedLines;    // the lines of its postings before the run
    QList<Adjustment> adjustments;
    QList<ApportionRule> rules;
    bool cancelled = false;           // IDSTATPAG "C": not an expense, nothing of it is posted
    bool postedOutsidePeriod = false; // an earlier posting of it lies outside the open period
    qint64 debitsBefore() const;      // total debits of its stored postings, in cents
    // For a cancelled instalment posted outside the open period: its earlier postings, which a run
    // would have to remove and may not.
    QList<Posting> earlierPostings;

    // The postings a run gives it: its own and one per adjustment, none when it is cancelled.
    qsizetype postingCount() const { return cancelled ? 0 : 1 + adjustments.size(); }
};

// An accounting error found on a posting; lineSequence is the runSequence of the line concerned.
struct PostingError {
    QString code;
    int lineSequence = 0;
    bool onAdjustment = false;
};
