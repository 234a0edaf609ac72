#pragma once

#include <QAbstractTableModel>
#include <QByteArray>
#include <functional>
#include <vector>

class ClientDataSet;

// The rows of a multiple choice, read once from a dataset: each row's code, the display texts of
// the code and of the visible fields, a search key and whether the row is chosen. Column 0 is the
// code with the check box; a row whose code is refused has no check box, is greyed and tells why.
// A search shows only the rows in which every word of it appears in the code, a shown text or the
// stored value behind one (letter case and accents ignored); shown rows keep the dataset's order.
class ChoiceModel : public QAbstractTableModel {
public:
    // refusal: why a code cannot be chosen, "" when it can; unset lets every code be chosen.
    ChoiceModel(ClientDataSet *rows, int keyField, std::function<QString(const QString &)> refusal,
                QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

    void search(const QString &text);
    // Chooses (or unchooses) every shown row that may be chosen.
    void setShownChosen(bool chosen);
    // Chooses the rows of these codes; unknown and refused codes are ignored.
    void choose(const QStringList &codes);
    void toggle(int shownRow);

    QStringList chosenCodes() const;
    int chosenCount() const { return m_chosenCount; }
    int totalCount() const { return int(m_codes.size()); }
    int refusedCount() const { return m_refusedCount; }
    // Why the shown row cannot be chosen, "" when it can.
    QString refusalAt(int shownRow) const;
    // Typical width in characters of each column, from the field sizes.
    QList<int> columnSizes() const { return m_sizes; }

    // Runs after every change of the chosen rows.
    std::function<void()> chosenChanged;

private:
    void readRows(ClientDataSet *rows, int keyField, const QList<int> &fields);
    void setChosen(int row, bool chosen);
    bool matches(int row, const QList<QByteArray> &words) const;

    QStringList m_titles;
    QList<int> m_sizes;
    QStringList m_codes;
    std::vector<QStringList> m_columns; // display texts, one list per column after the code
    QByteArray m_keys;                  // search keys of all rows, back to back
    std::vector<int> m_keyEnds;
    QStringList m_refusals;
    std::vector<char> m_chosen;
    std::vector<int> m_shown; // rows shown, in order
    int m_chosenCount = 0;
    int m_refusedCount = 0;
    QString m_search;
};
