#pragma once

#include <QString>
#include <QVariantList>

// Company 09 of the filter tests, written into the server's database beside the demo data: one
// payable (document "1500") that meets every criterion of filterCriteria below, and beside it one
// payable for each criterion that fails that criterion alone. A fetch with exactly those criteria
// returns the one payable; a fetch that lost or changed any criterion returns more, or none.
namespace FilterData {

inline const QString company = QStringLiteral("09");
inline const QString matchingDocument = QStringLiteral("1500");

// Writes the company into the SQLite database at url (once); later statements go to the same database.
void seed(const QString &databaseUrl);
// Runs one statement on that database (for parameters a test changes and puts back).
void execute(const QString &sql, const QVariantList &values = {});
// Day count of today plus days.
double day(int days);

} // namespace FilterData
