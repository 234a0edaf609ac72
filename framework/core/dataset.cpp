#include "framework/core/dataset.h"

#include "framework/core/datasetstore.h"
#include "framework/core/fieldname.h"
#include "framework/core/filterexpr.h"

#include <QMetaMethod>
#include <stdexcept>

ClientDataSet::ClientDataSet(QObject *parent)
    : QObject(parent)
    , m_store(std::make_unique<DataSetStore>()) {}

ClientDataSet::~ClientDataSet() = default;

Field *ClientDataSet::addField(const FieldDef &def) {
    if (active())
        throw std::logic_error("fields can only be added to an inactive dataset");
    if (def.name.isEmpty() || findField(def.name))
        throw std::invalid_argument("field without a name or with a duplicate name: " +
                                    def.name.toStdString());
    m_fieldsFromPacket = false;
    return registerField(def);
}

QList<FieldDef> ClientDataSet::fieldDefs() const {
    QList<FieldDef> defs;
    defs.reserve(qsizetype(m_fields.size()));
    for (const auto &field : m_fields)
        defs.append(field->def());
    return defs;
}

void ClientDataSet::clearFields() {
    if (active())
        throw std::logic_error("fields can only be cleared on an inactive dataset");
    removeFields();
    m_fieldsFromPacket = false;
}

void ClientDataSet::declareFields(const QList<FieldDef> &defs) {
    removeFields();
    for (const FieldDef &def : defs)
        registerField(def);
    m_fieldsFromPacket = true;
}

// Creates a field and keeps the lookups over the fields in step with it.
Field *ClientDataSet::registerField(const FieldDef &def) {
    if (def.required && !def.calculated)
        m_requiredFields.append(int(m_fields.size()));
    m_hasCalcFields = m_hasCalcFields || def.calculated;
    m_nameHashes.append(asciiNameHash(def.name).value_or(0));
    m_fields.push_back(std::make_unique<Field>(this, int(m_fields.size()), def));
    return m_fields.back().get();
}

void ClientDataSet::removeFields() {
    m_fields.clear();
    m_nameHashes.clear();
    m_requiredFields.clear();
    m_hasCalcFields = false;
}

int ClientDataSet::fieldCount() const {
    return int(m_fields.size());
}

Field *ClientDataSet::field(int index) const {
    return m_fields.at(size_t(index)).get();
}

Field *ClientDataSet::fieldByName(QAnyStringView name) const {
    Field *found = findField(name);
    if (!found)
        throw std::invalid_argument("field not found: " + name.toString().toStdString());
    return found;
}

Field *ClientDataSet::findField(QAnyStringView name) const {
    const std::optional<quint64> hash = asciiNameHash(name);
    for (size_t i = 0; i < m_fields.size(); ++i) {
        const QString &candidate = m_fields[i]->name();
        const bool equal =
            hash ? m_nameHashes.at(qsizetype(i)) == *hash && asciiEqualIgnoringCase(candidate, name)
                 : QAnyStringView::compare(candidate, name, Qt::CaseInsensitive) == 0;
        if (equal)
            return m_fields[i].get();
    }
    return nullptr;
}

void ClientDataSet::createDataSet() {
    if (active())
        close();
    openWith(DataPacket());
}

void ClientDataSet::open() {
    if (!active())
        openWith(DataPacket());
}

void ClientDataSet::setData(const DataPacket &packet) {
    // Fields taken from an earlier packet are kept (and Field pointers stay valid) while the
    // packets agree; a new structure re-parses the filter first, so a failure changes nothing.
    const bool newFields = (m_fields.empty() || m_fieldsFromPacket) && fieldDefs() != packet.fields();
    std::unique_ptr<FilterExpression> filter;
    if (newFields && !m_filterText.isEmpty())
        filter = std::make_unique<FilterExpression>(FilterExpression::parse(m_filterText, packet.fields()));
    if (active())
        close();
    if (newFields) {
        declareFields(packet.fields());
        m_filter = std::move(filter);
    }
    openWith(packet);
}

void ClientDataSet::openWith(const DataPacket &packet) {
    m_store->load(fieldDefs(), packet);
    m_calcCache.clear();
    m_state = DataSetState::Browse;
    rebuildView();
    m_recNo = m_view.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_view.isEmpty();
    notifyLayoutChanged();
    emit stateChanged();
    emit afterOpen();
    emit afterScroll();
}

void ClientDataSet::close() {
    if (!active())
        return;
    m_edits.clear();
    m_store->reset(fieldDefs());
    m_view.clear();
    m_calcCache.clear();
    m_recNo = -1;
    m_bof = m_eof = true;
    m_state = DataSetState::Inactive;
    notifyLayoutChanged();
    emit stateChanged();
    emit afterClose();
}

bool ClientDataSet::active() const {
    return m_state != DataSetState::Inactive;
}

DataSetState ClientDataSet::savedState() const {
    return m_state == DataSetState::CalcFields ? m_savedState : m_state;
}

bool ClientDataSet::isEmpty() const {
    return m_view.isEmpty();
}

int ClientDataSet::recordCount() const {
    return int(m_view.size());
}

void ClientDataSet::first() {
    checkBrowseMode();
    moveTo(m_view.isEmpty() ? -1 : 0);
    m_bof = true;
    m_eof = m_view.isEmpty();
}

void ClientDataSet::next() {
    checkBrowseMode();
    if (m_recNo + 1 < m_view.size()) {
        moveTo(m_recNo + 1);
        return;
    }
    m_eof = true;
}

void ClientDataSet::prior() {
    checkBrowseMode();
    if (m_recNo > 0) {
        moveTo(m_recNo - 1);
        return;
    }
    m_bof = true;
}

void ClientDataSet::last() {
    checkBrowseMode();
    moveTo(int(m_view.size()) - 1);
    m_eof = true;
    m_bof = m_view.isEmpty();
}

void ClientDataSet::setRecNo(int viewRow) {
    checkBrowseMode();
    moveTo(m_view.isEmpty() ? -1 : qBound(0, viewRow, int(m_view.size()) - 1));
}

void ClientDataSet::moveTo(int viewRow) {
    m_recNo = viewRow;
    m_bof = m_eof = m_view.isEmpty();
    if (scrollListened())
        emit afterScroll();
}

void ClientDataSet::requireActive() const {
    if (!active())
        throw std::logic_error("dataset is not open");
}

void ClientDataSet::checkBrowseMode() {
    requireActive();
    if (m_state == DataSetState::Edit || m_state == DataSetState::Insert)
        post();
}

void ClientDataSet::setState(DataSetState state) {
    if (m_state == state)
        return;
    m_state = state;
    if (stateListened())
        emit stateChanged();
}

void ClientDataSet::connectNotify(const QMetaMethod &) {
    m_listenersKnown = false;
}

void ClientDataSet::disconnectNotify(const QMetaMethod &) {
    m_listenersKnown = false;
}

bool ClientDataSet::stateListened() {
    if (!m_listenersKnown)
        learnListeners();
    return m_stateListened;
}

bool ClientDataSet::scrollListened() {
    if (!m_listenersKnown)
        learnListeners();
    return m_scrollListened;
}

void ClientDataSet::learnListeners() {
    static const QMetaMethod state = QMetaMethod::fromSignal(&ClientDataSet::stateChanged);
    static const QMetaMethod scroll = QMetaMethod::fromSignal(&ClientDataSet::afterScroll);
    m_stateListened = isSignalConnected(state);
    m_scrollListened = isSignalConnected(scroll);
    m_listenersKnown = true;
}

void ClientDataSet::disableControls() {
    if (m_disableCount++ == 0)
        emit controlsDisabledChanged();
}

void ClientDataSet::enableControls() {
    if (m_disableCount == 0 || --m_disableCount > 0)
        return;
    if (m_heldBack) {
        m_heldBack = false;
        emit layoutChanged();
    }
    emit controlsDisabledChanged();
}

void ClientDataSet::notifyDataChanged(int viewRow) {
    if (controlsDisabled())
        m_heldBack = true;
    else
        emit dataChanged(viewRow);
}

void ClientDataSet::notifyLayoutChanged() {
    if (controlsDisabled())
        m_heldBack = true;
    else
        emit layoutChanged();
}

void ClientDataSet::emptyDataSet() {
    requireActive();
    m_edits.clear();
    m_store->reset(fieldDefs());
    m_view.clear();
    m_calcCache.clear();
    setState(DataSetState::Browse);
    m_recNo = -1;
    m_bof = m_eof = true;
    notifyLayoutChanged();
    emit afterScroll();
}

DataPacket ClientDataSet::data() const {
    return m_store->toPacket();
}
