#pragma once

#include "appserver/recalc/model.h"

#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>

// Posting numbers of a company: twelve digits from its counter in NUMLANCCTB, which the run holds
// locked until it ends. A recalculated posting keeps the number it had (NRLANCTBDOC, NRLCTBAJPAG)
// unless a posting of another origin uses it (the reader leaves such a posting without a previous
// number), so recalculating twice gives the same postings.
class PostingNumbers {
public:
    PostingNumbers(QSqlDatabase &db, const QString &company);

    void assign(QList<Posting> &postings);
    qint64 last() const { return m_last; }

private:
    // The counter's next number that neither this run nor a posting above the counter has taken.
    QString next();

    qint64 m_last = 0;
    QSet<QString> m_usedAbove;
    QSet<QString> m_taken;
};

// Stores the counter's new value.
void saveLastNumber(QSqlDatabase &db, const QString &company, qint64 last);
