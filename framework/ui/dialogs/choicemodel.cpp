#include "framework/ui/dialogs/choicemodel.h"

#include "framework/core/dataset.h"

#include <QColor>
#include <QRegularExpression>
#include <QSet>
#include <numeric>

namespace {

// Lower case without accents, as UTF-8: "Ação" and "ACAO" give the same key.
void appendFolded(QByteArray &out, QStringView text) {
    for (QChar c : text) {
        if (c.unicode() < 128) {
            out += char(c.unicode() >= u'A' && c.unicode() <= u'Z' ? c.unicode() + 32 : c.unicode());
            continue;
        }
        const QString parts = c.decomposition();
        const QChar base = (parts.isEmpty() ? c : parts.at(0)).toLower();
        out += QStringView(&base, 1).toUtf8();
    }
}

QList<QByteArray> searchWords(const QString &text) {
    QList<QByteArray> words;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    for (const QString &word : text.split(blanks, Qt::SkipEmptyParts)) {
        QByteArray folded;
        appendFolded(folded, word);
        words << folded;
    }
    return words;
}

QString titleOf(const FieldDef &def) {
    return def.displayLabel.isEmpty() ? def.name : def.displayLabel;
}

} // namespace

ChoiceModel::ChoiceModel(ClientDataSet *rows, int keyField, std::function<QString(const QString &)> refusal,
                         QObject *parent)
    : QAbstractTableModel(parent) {
    const FieldDef key = rows->field(keyField)->def();
    m_titles << (key.displayLabel.isEmpty() ? QStringLiteral("Código") : key.displayLabel);
    m_sizes << key.size;
    QList<int> fields;
    for (int i = 0; i < rows->fieldCount(); ++i) {
        const FieldDef def = rows->field(i)->def();
        if (def.visible && i != keyField) {
            fields << i;
            m_titles << titleOf(def);
            m_sizes << def.size;
        }
    }
    readRows(rows, keyField, fields);
    m_refusals.resize(m_codes.size());
    if (refusal)
        for (qsizetype row = 0; row < m_codes.size(); ++row)
            if (!(m_refusals[row] = refusal(m_codes.at(row))).isEmpty())
                ++m_refusedCount;
    m_chosen.assign(m_codes.size(), 0);
    m_shown.resize(m_codes.size());
    std::iota(m_shown.begin(), m_shown.end(), 0);
}

// One pass over the dataset's view; the cursor is not moved.
void ChoiceModel::readRows(ClientDataSet *rows, int keyField, const QList<int> &fields) {
    const int count = rows->recordCount();
    m_codes.reserve(count);
    m_columns.assign(fields.size(), {});
    for (QStringList &column : m_columns)
        column.reserve(count);
    m_keyEnds.reserve(count);
    // A field shown through a get-text handler is found by its stored value too.
    QList<bool> formatted;
    for (int field : fields)
        formatted << rows->field(field)->hasOnGetText();
    for (int row = 0; row < count; ++row) {
        const QString code = rows->valueAt(row, keyField).toString();
        m_codes << code;
        appendFolded(m_keys, code);
        for (qsizetype column = 0; column < fields.size(); ++column) {
            const QString shown = rows->displayTextAt(row, fields[column]);
            m_keys += '\x1f';
            appendFolded(m_keys, shown);
            if (formatted[column]) {
                m_keys += '\x1f';
                appendFolded(m_keys, rows->valueAt(row, fields[column]).toString());
            }
            m_columns[column] << shown;
        }
        m_keyEnds.push_back(int(m_keys.size()));
    }
}

int ChoiceModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_shown.size());
}

int ChoiceModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_titles.size());
}

QVariant ChoiceModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid())
        return {};
    const int row = m_shown.at(size_t(index.row()));
    const bool refused = !m_refusals.at(row).isEmpty();
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == 0 ? m_codes.at(row) : m_columns.at(size_t(index.column() - 1)).at(row);
    case Qt::CheckStateRole:
        if (index.column() != 0 || refused)
            return {};
        return m_chosen.at(size_t(row)) ? Qt::Checked : Qt::Unchecked;
    case Qt::ForegroundRole:
        return refused ? QVariant(QColor(Qt::gray)) : QVariant();
    case Qt::ToolTipRole:
        return refused ? m_refusals.at(row) : QVariant();
    default:
        return {};
    }
}

QVariant ChoiceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_titles.size())
        return m_titles.at(section);
    return {};
}

Qt::ItemFlags ChoiceModel::flags(const QModelIndex &index) const {
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.isValid() && index.column() == 0 && refusalAt(index.row()).isEmpty())
        result |= Qt::ItemIsUserCheckable;
    return result;
}

bool ChoiceModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::CheckStateRole || !(flags(index) & Qt::ItemIsUserCheckable))
        return false;
    setChosen(m_shown.at(size_t(index.row())), value.toInt() == Qt::Checked);
    emit dataChanged(index, index, {Qt::CheckStateRole});
    if (chosenChanged)
        chosenChanged();
    return true;
}

void ChoiceModel::toggle(int shownRow) {
    if (shownRow < 0 || shownRow >= rowCount())
        return;
    const QModelIndex first = index(shownRow, 0);
    setData(first, m_chosen.at(size_t(m_shown.at(size_t(shownRow)))) ? Qt::Unchecked : Qt::Checked,
            Qt::CheckStateRole);
}

void ChoiceModel::setChosen(int row, bool chosen) {
    if (bool(m_chosen[size_t(row)]) == chosen || !m_refusals.at(row).isEmpty())
        return;
    m_chosen[size_t(row)] = chosen;
    m_chosenCount += chosen ? 1 : -1;
}

bool ChoiceModel::matches(int row, const QList<QByteArray> &words) const {
    const int begin = row == 0 ? 0 : m_keyEnds[size_t(row - 1)];
    const QByteArrayView key(m_keys.constData() + begin, m_keyEnds[size_t(row)] - begin);
    for (const QByteArray &word : words)
        if (!key.contains(word))
            return false;
    return true;
}

void ChoiceModel::search(const QString &text) {
    const QString trimmed = text.trimmed();
    if (trimmed == m_search)
        return;
    // A search that only adds to the previous one can only narrow what is shown.
    const bool narrower = !m_search.isEmpty() && trimmed.startsWith(m_search);
    const QList<QByteArray> words = searchWords(trimmed);
    beginResetModel();
    std::vector<int> shown;
    if (narrower) {
        for (int row : m_shown)
            if (matches(row, words))
                shown.push_back(row);
    } else {
        for (int row = 0; row < totalCount(); ++row)
            if (words.isEmpty() || matches(row, words))
                shown.push_back(row);
    }
    m_shown = std::move(shown);
    m_search = trimmed;
    endResetModel();
}

void ChoiceModel::setShownChosen(bool chosen) {
    for (int row : m_shown)
        setChosen(row, chosen);
    if (!m_shown.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
    if (chosenChanged)
        chosenChanged();
}

void ChoiceModel::choose(const QStringList &codes) {
    if (codes.isEmpty())
        return;
    const QSet<QString> wanted(codes.cbegin(), codes.cend());
    for (int row = 0; row < totalCount(); ++row)
        if (wanted.contains(m_codes.at(row)))
            setChosen(row, true);
    if (chosenChanged)
        chosenChanged();
}

QStringList ChoiceModel::chosenCodes() const {
    QStringList codes;
    codes.reserve(m_chosenCount);
    for (int row = 0; row < totalCount(); ++row)
        if (m_chosen[size_t(row)])
            codes << m_codes.at(row);
    return codes;
}

QString ChoiceModel::refusalAt(int shownRow) const {
    if (shownRow < 0 || shownRow >= rowCount())
        return {};
    return m_refusals.at(m_shown.at(size_t(shownRow)));
}
