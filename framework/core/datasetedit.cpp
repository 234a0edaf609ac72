// Editing and reading of a dataset's rows: the edit buffer, posting, calculated fields.
#include "framework/core/dataset.h"

#include "framework/core/datasetstore.h"

#include <stdexcept>

namespace {
constexpr int calcCacheLimit = 4096;

bool isEditing(DataSetState state) {
    return state == DataSetState::Edit || state == DataSetState::Insert;
}
} // namespace

void ClientDataSet::edit() {
    requireActive();
    if (isEditing(m_state))
        return;
    if (currentRow() < 0)
        throw std::logic_error("no current row to edit");
    m_edits.clear();
    m_editCalcValid = false;
    setState(DataSetState::Edit);
}

void ClientDataSet::append() {
    checkBrowseMode();
    m_edits.clear();
    m_editCalcValid = false;
    setState(DataSetState::Insert);
    emit afterScroll();
}

void ClientDataSet::post() {
    requireActive();
    if (!isEditing(m_state))
        return;
    checkRequired();
    const bool inserting = m_state == DataSetState::Insert;
    const int row = inserting ? m_store->appendRow() : currentRow();
    for (auto &[field, value] : m_edits)
        m_store->setValue(row, field, std::move(value));
    m_edits.clear();
    m_calcCache.remove(row);
    if (inserting) {
        m_view.append(row);
        m_recNo = int(m_view.size()) - 1;
        m_bof = m_eof = false;
        notifyLayoutChanged();
    } else {
        notifyDataChanged(m_recNo);
    }
    setState(DataSetState::Browse);
    emit afterPost();
    dropFromViewUnlessMatching();
}

void ClientDataSet::checkRequired() {
    for (int index : std::as_const(m_requiredFields)) {
        if (!bufferValue(index).isValid())
            throw std::invalid_argument(
                QStringLiteral("O campo %1 precisa de um valor.").arg(field(index)->name()).toStdString());
    }
}

void ClientDataSet::cancel() {
    requireActive();
    if (!isEditing(m_state))
        return;
    const bool inserting = m_state == DataSetState::Insert;
    m_edits.clear();
    setState(DataSetState::Browse);
    if (inserting)
        emit afterScroll();
}

QVariant ClientDataSet::bufferValue(int fieldIndex) {
    for (const auto &[field, value] : std::as_const(m_edits)) {
        if (field == fieldIndex)
            return value;
    }
    const int row = currentRow();
    if (savedState() == DataSetState::Insert || row < 0)
        return {};
    return m_store->value(row, fieldIndex);
}

QVariant ClientDataSet::currentValue(int fieldIndex) {
    if (!active())
        return {};
    const bool calculated = m_fields.at(size_t(fieldIndex))->def().calculated;
    if (m_calcTarget && calculated)
        return m_calcTarget->at(fieldIndex);
    if (m_readRow >= 0)
        return calculated ? calcValuesOf(m_readRow).at(fieldIndex) : m_store->value(m_readRow, fieldIndex);
    if (isEditing(savedState()))
        return calculated ? editCalcValues().at(fieldIndex) : bufferValue(fieldIndex);
    const int row = currentRow();
    if (row < 0)
        return {};
    return calculated ? calcValuesOf(row).at(fieldIndex) : m_store->value(row, fieldIndex);
}

// The current row when reads of stored fields go straight to the store, otherwise -1.
int ClientDataSet::storedCurrentRow() const {
    return m_state == DataSetState::Browse && m_readRow < 0 ? currentRow() : -1;
}

// Text fields on a stored, unedited row are read from the store without a variant in between.
QString ClientDataSet::currentText(int fieldIndex) {
    const int row = storedCurrentRow();
    return row < 0 ? currentValue(fieldIndex).toString() : m_store->textOf(row, fieldIndex);
}

void ClientDataSet::appendCurrentText(int fieldIndex, QString &out) {
    const int row = storedCurrentRow();
    if (row < 0)
        out += currentValue(fieldIndex).toString();
    else
        m_store->appendText(row, fieldIndex, out);
}

// Numbers and dates on a stored, unedited row are read from the store without a variant in between.
std::optional<double> ClientDataSet::storedCurrentReal(int fieldIndex) const {
    const int row = storedCurrentRow();
    return row < 0 ? std::nullopt : m_store->packetReal(row, fieldIndex);
}

void ClientDataSet::appendCurrentTexts(const QList<Field *> &fields, QString &out) {
    const int row = storedCurrentRow();
    for (const Field *field : fields) {
        if (row >= 0 && field->readsStoredText())
            m_store->appendText(row, field->index(), out);
        else
            field->appendAsString(out);
    }
}

void ClientDataSet::setCurrentValue(int fieldIndex, QVariant value) {
    const bool calculated = m_fields.at(size_t(fieldIndex))->def().calculated;
    if (m_state == DataSetState::CalcFields) {
        if (!calculated || !m_calcTarget)
            throw std::logic_error("only calculated fields can be set while calculating");
        (*m_calcTarget)[fieldIndex] = std::move(value);
        return;
    }
    if (!isEditing(m_state))
        throw std::logic_error("dataset is not in edit or insert state");
    if (calculated)
        throw std::logic_error("calculated fields are set by the calcFields handler");
    const auto written = std::find_if(m_edits.begin(), m_edits.end(),
                                      [fieldIndex](const auto &edit) { return edit.first == fieldIndex; });
    if (written != m_edits.end())
        written->second = std::move(value);
    else
        m_edits.emplace_back(fieldIndex, std::move(value));
    m_editCalcValid = false;
}

const QVariantList &ClientDataSet::calcValuesOf(int row) {
    auto it = m_calcCache.find(row);
    if (it != m_calcCache.end())
        return *it;
    if (m_calcCache.size() >= calcCacheLimit)
        m_calcCache.clear();
    QVariantList values(qsizetype(m_fields.size()));
    calculate(values, row, DataSetState::Browse);
    return *m_calcCache.insert(row, values);
}

const QVariantList &ClientDataSet::editCalcValues() {
    if (!m_editCalcValid) {
        m_editCalc = QVariantList(qsizetype(m_fields.size()));
        calculate(m_editCalc, -1, m_state);
        m_editCalcValid = true;
    }
    return m_editCalc;
}

// Runs the calcFields handler with reads addressing the given stored row (or, for row -1, the edit
// buffer) and writes of calculated fields landing in target.
void ClientDataSet::calculate(QVariantList &target, int row, DataSetState rowState) {
    if (!m_hasCalcFields)
        return;
    struct Context {
        ClientDataSet *set;
        int readRow;
        QVariantList *calcTarget;
        DataSetState state, savedState;
        ~Context() {
            set->m_readRow = readRow;
            set->m_calcTarget = calcTarget;
            set->m_state = state;
            set->m_savedState = savedState;
        }
    } restore{this, m_readRow, m_calcTarget, m_state, m_savedState};
    m_readRow = row;
    m_calcTarget = &target;
    m_savedState = rowState;
    m_state = DataSetState::CalcFields;
    emit calcFields();
}

QVariant ClientDataSet::valueAt(int viewRow, int fieldIndex) {
    if (viewRow < 0 || viewRow >= m_view.size() || fieldIndex < 0 || fieldIndex >= fieldCount())
        return {};
    if (viewRow == m_recNo && m_state == DataSetState::Edit)
        return currentValue(fieldIndex);
    const int row = m_view.at(viewRow);
    if (m_fields.at(size_t(fieldIndex))->def().calculated)
        return calcValuesOf(row).at(fieldIndex);
    return m_store->value(row, fieldIndex);
}

QString ClientDataSet::displayTextAt(int viewRow, int fieldIndex) {
    if (viewRow < 0 || viewRow >= m_view.size() || fieldIndex < 0 || fieldIndex >= fieldCount())
        return {};
    Field *target = field(fieldIndex);
    if (!target->hasOnGetText())
        return target->formatValue(valueAt(viewRow, fieldIndex));
    if (viewRow == m_recNo)
        return target->displayText();
    const int previous = m_readRow;
    m_readRow = m_view.at(viewRow);
    struct Restore {
        int &slot;
        int value;
        ~Restore() { slot = value; }
    } restore{m_readRow, previous};
    return target->displayText();
}
