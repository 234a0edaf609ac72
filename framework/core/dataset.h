#pragma once

#include "framework/core/field.h"

#include <QHash>
#include <QObject>
#include <memory>
#include <optional>
#include <vector>

enum class DataSetState { Inactive, Browse, Edit, Insert, CalcFields };

enum class LocateOption { CaseInsensitive = 1 };
Q_DECLARE_FLAGS(LocateOptions, LocateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(LocateOptions)

class DataSetStore;
class FilterExpression;

// An in-memory table with a cursor. Loaded columns stay packed as in the packet; edited cells live
// in a small overlay, so loading is close to a copy and marking many rows is cheap.
//
// Order of events:
// - open, createDataSet, setData on an inactive dataset: layoutChanged, stateChanged, afterOpen,
//   afterScroll. setData on an active dataset first closes it (the close events), then opens.
// - close: layoutChanged, stateChanged, afterClose (a pending edit is cancelled).
// - moves post a pending edit first (its events), then: first, last, setRecNo and a successful
//   locate emit afterScroll; next and prior emit it only when the cursor moves.
// - setFilter / setFiltered changing the view: layoutChanged, afterScroll (on the first row).
// - edit: stateChanged. append: stateChanged, afterScroll. The appended row joins the view (at its
//   end) when posted; until then recNo() stays where it was and reads address the new row.
// - post: dataChanged(viewRow) for an edited row or layoutChanged for a new one, stateChanged,
//   afterPost (the cursor still on the posted row); then, when a filter is on and the row no longer
//   matches it, layoutChanged and afterScroll as the row leaves the view.
// - cancel: stateChanged (and afterScroll after an append).
// - emptyDataSet: layoutChanged, afterScroll.
// - calcFields runs lazily, when a calculated field of a row is read and its values are not cached;
//   during it state() is CalcFields and savedState() tells the state of the row calculated.
// While controls are disabled, dataChanged and layoutChanged are held back; the enableControls that
// ends the nesting emits one layoutChanged when something was held back. The other events always fire.
// The outermost disableControls and enableControls emit controlsDisabledChanged (the enable after its
// layoutChanged), so that controls can stop following the rows and catch up once.
class PAGCORE_EXPORT ClientDataSet : public QObject {
    Q_OBJECT
public:
    explicit ClientDataSet(QObject *parent = nullptr);
    ~ClientDataSet() override;

    // Declared fields (only while inactive).
    Field *addField(const FieldDef &def);
    QList<FieldDef> fieldDefs() const;
    void clearFields();
    int fieldCount() const;
    Field *field(int index) const;
    Field *fieldByName(QAnyStringView name) const; // throws std::invalid_argument on an unknown name
    Field *findField(QAnyStringView name) const;

    void createDataSet();
    void open();
    void close();
    bool active() const;
    DataSetState state() const { return m_state; }
    // The state that a calculation interrupted (during calcFields), otherwise state().
    DataSetState savedState() const;

    bool isEmpty() const;
    int recordCount() const;
    void first();
    void next();
    void prior();
    void last();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    int recNo() const { return m_recNo; }
    void setRecNo(int viewRow);

    void edit();
    void append();
    void post();
    void cancel();

    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

    bool locate(const QString &fieldList, const QVariantList &values, LocateOptions options = {});

    // Filter expression: conditions "FIELD op 'text'" or "FIELD op number" with op one of =, <>,
    // <, >, <=, >=, joined by AND / OR (AND binds tighter). Texts compare without regard to case.
    // An invalid expression throws std::invalid_argument here and leaves the filter unchanged.
    // Applying or changing an active filter moves to the first row of the new view.
    void setFilter(const QString &expression);
    QString filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }

    void setData(const DataPacket &packet);
    DataPacket data() const;
    void emptyDataSet();

    // Read any row of the current view without moving the cursor.
    QVariant valueAt(int viewRow, int fieldIndex);
    QString displayTextAt(int viewRow, int fieldIndex);
    // Appends the texts of the current row's fields, back to back, as Field::appendAsString would.
    void appendCurrentTexts(const QList<Field *> &fields, QString &out);

signals:
    void afterOpen();
    void afterClose();
    void afterScroll();
    void afterPost();
    void calcFields();
    void stateChanged();
    void dataChanged(int viewRow);
    void layoutChanged();
    void controlsDisabledChanged();

protected:
    void connectNotify(const QMetaMethod &signal) override;
    void disconnectNotify(const QMetaMethod &signal) override;

private:
    friend class Field;
    QVariant currentValue(int fieldIndex);
    int storedCurrentRow() const;
    QString currentText(int fieldIndex);
    void appendCurrentText(int fieldIndex, QString &out);
    std::optional<double> storedCurrentReal(int fieldIndex) const;
    void setCurrentValue(int fieldIndex, QVariant value);
    QVariant bufferValue(int fieldIndex);
    void requireActive() const;
    void checkBrowseMode();
    void setState(DataSetState state);
    void moveTo(int viewRow);
    bool stateListened();
    bool scrollListened();
    void learnListeners();
    int currentRow() const { return m_recNo >= 0 && m_recNo < m_view.size() ? m_view.at(m_recNo) : -1; }
    void openWith(const DataPacket &packet);
    void declareFields(const QList<FieldDef> &defs);
    Field *registerField(const FieldDef &def);
    void removeFields();
    const QVariantList &calcValuesOf(int row);
    const QVariantList &editCalcValues();
    void calculate(QVariantList &target, int row, DataSetState rowState);
    bool rowMatchesFilter(int row);
    void rebuildView();
    void applyFilterChange();
    void checkRequired();
    void dropFromViewUnlessMatching();
    void notifyDataChanged(int viewRow);
    void notifyLayoutChanged();

    std::vector<std::unique_ptr<Field>> m_fields;
    QList<quint64> m_nameHashes;
    std::unique_ptr<DataSetStore> m_store;
    std::unique_ptr<FilterExpression> m_filter;
    QList<int> m_view;
    std::vector<std::pair<int, QVariant>> m_edits; // cells written in Edit / Insert: (field, value)
    QHash<int, QVariantList> m_calcCache;
    QVariantList m_editCalc;
    bool m_editCalcValid = false;
    bool m_hasCalcFields = false;
    QList<int> m_requiredFields; // stored fields that a post must find filled
    bool m_fieldsFromPacket = false;
    int m_readRow = -1;
    QVariantList *m_calcTarget = nullptr;
    DataSetState m_state = DataSetState::Inactive;
    DataSetState m_savedState = DataSetState::Inactive;
    int m_recNo = -1;
    bool m_bof = true;
    bool m_eof = true;
    int m_disableCount = 0;
    bool m_heldBack = false;
    // Whether anything is connected to stateChanged and afterScroll; learnt again after a connection
    // changes, so that a walk over many rows with nothing listening skips the signals per row.
    bool m_listenersKnown = false;
    bool m_stateListened = true;
    bool m_scrollListened = true;
    QString m_filterText;
    bool m_filtered = false;
};
