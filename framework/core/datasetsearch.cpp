// Finding rows: locate and the filtered view.
#include "framework/core/dataset.h"

#include "framework/core/datasetstore.h"
#include "framework/core/filterexpr.h"

#include <stdexcept>

namespace {
bool isText(FieldKind kind) {
    return kind == FieldKind::Text || kind == FieldKind::FixedText;
}

bool sameValue(const QVariant &cell, const QVariant &wanted, FieldKind kind) {
    if (!cell.isValid() || !wanted.isValid())
        return cell.isValid() == wanted.isValid();
    if (kind == FieldKind::Boolean)
        return cell.toBool() == wanted.toBool();
    return cell.toDouble() == wanted.toDouble();
}
} // namespace

bool ClientDataSet::locate(const QString &fieldList, const QVariantList &values, LocateOptions options) {
    checkBrowseMode();
    const QStringList names = fieldList.split(u';', Qt::SkipEmptyParts);
    if (names.isEmpty() || names.size() != values.size())
        throw std::invalid_argument("locate needs one value per field");
    QList<Field *> fields;
    QList<QString> texts;
    for (qsizetype i = 0; i < names.size(); ++i) {
        fields.append(fieldByName(names.at(i).trimmed()));
        texts.append(values.at(i).toString());
    }
    const Qt::CaseSensitivity cs =
        options.testFlag(LocateOption::CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const auto matches = [&](int row) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const FieldDef &def = fields.at(i)->def();
            const int index = fields.at(i)->index();
            if (isText(def.kind) && !def.calculated) {
                if (!m_store->textEquals(row, index, texts.at(i), cs))
                    return false;
            } else {
                const QVariant cell =
                    def.calculated ? calcValuesOf(row).at(index) : m_store->value(row, index);
                const bool equal = isText(def.kind)
                                       ? cell.toString().compare(texts.at(i), cs) == 0
                                       : sameValue(cell, fields.at(i)->normalized(values.at(i)), def.kind);
                if (!equal)
                    return false;
            }
        }
        return true;
    };
    for (int viewRow = 0; viewRow < m_view.size(); ++viewRow) {
        if (matches(m_view.at(viewRow))) {
            moveTo(viewRow);
            return true;
        }
    }
    return false;
}

void ClientDataSet::setFilter(const QString &expression) {
    m_filter = std::make_unique<FilterExpression>(FilterExpression::parse(expression, fieldDefs()));
    m_filterText = expression;
    if (m_filtered)
        applyFilterChange();
}

void ClientDataSet::setFiltered(bool on) {
    if (m_filtered == on)
        return;
    m_filtered = on;
    applyFilterChange();
}

void ClientDataSet::applyFilterChange() {
    if (!active())
        return;
    checkBrowseMode();
    rebuildView();
    notifyLayoutChanged();
    moveTo(m_view.isEmpty() ? -1 : 0);
    m_bof = true;
}

bool ClientDataSet::rowMatchesFilter(int row) {
    if (!m_filtered || !m_filter || m_filter->isEmpty())
        return true;
    return m_filter->matches([this, row](int index) {
        return field(index)->def().calculated ? calcValuesOf(row).at(index) : m_store->value(row, index);
    });
}

void ClientDataSet::rebuildView() {
    m_view.clear();
    m_view.reserve(m_store->rowCount());
    for (int row = 0; row < m_store->rowCount(); ++row) {
        if (rowMatchesFilter(row))
            m_view.append(row);
    }
}

void ClientDataSet::dropFromViewUnlessMatching() {
    const int row = currentRow();
    if (row < 0 || rowMatchesFilter(row))
        return;
    m_view.removeAt(m_recNo);
    m_recNo = m_view.isEmpty() ? -1 : qMin(m_recNo, int(m_view.size()) - 1);
    notifyLayoutChanged();
    moveTo(m_recNo);
}
