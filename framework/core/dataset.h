#pragma once

#include "framework/core/field.h"

#include <QObject>
#include <memory>
#include <vector>

enum class DataSetState { Inactive, Browse, Edit, Insert, CalcFields };

enum class LocateOption { CaseInsensitive = 1 };
Q_DECLARE_FLAGS(LocateOptions, LocateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(LocateOptions)

class DataSetStore;

// An in-memory table with a cursor. Loaded columns stay packed as in the packet; edited cells live
// in a small overlay, so loading is close to a copy and marking many rows is cheap.
//
// Order of events:
// - open / setData / createDataSet: layoutChanged, stateChanged, afterOpen, afterScroll.
// - close: layoutChanged, stateChanged, afterClose.
// - a move of the cursor (first, next, prior, last, setRecNo, locate, filter change) posts a pending
//   edit first, then emits afterScroll (only when the row changes, or always for filter changes).
// - edit / append: stateChanged (append also layoutChanged and afterScroll for the new row).
// - post: dataChanged(viewRow), stateChanged, afterPost.  cancel: stateChanged (and layoutChanged
//   when an appended row is dropped).
// - calcFields runs lazily, when a calculated field of a row is first read after the row changed.
// While controls are disabled, dataChanged and layoutChanged are held back; the enableControls that
// ends the nesting emits one layoutChanged when something was held back. afterScroll, afterPost and
// the other events always fire.
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
    Field *fieldByName(QStringView name) const; // throws std::invalid_argument on an unknown name
    Field *findField(QStringView name) const;

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
    // An invalid expression throws std::invalid_argument when the filter is applied.
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

signals:
    void afterOpen();
    void afterClose();
    void afterScroll();
    void afterPost();
    void calcFields();
    void stateChanged();
    void dataChanged(int viewRow);
    void layoutChanged();

private:
    friend class Field;
    QVariant currentValue(int fieldIndex);
    void setCurrentValue(int fieldIndex, const QVariant &value);
    void requireActive() const;
    void requireBrowse();
    void checkBrowseMode();
    void setState(DataSetState state);
    void moveTo(int viewRow, bool forceScroll);
    int currentRow() const;
    const QVariantList &calcValuesOf(int row);
    void notifyDataChanged(int viewRow);
    void notifyLayoutChanged();
    void rebuildView();

    std::vector<std::unique_ptr<Field>> m_fields;
    std::unique_ptr<DataSetStore> m_store;
    DataSetState m_state = DataSetState::Inactive;
    DataSetState m_savedState = DataSetState::Inactive;
    int m_recNo = -1;
    bool m_bof = true;
    bool m_eof = true;
    int m_disableCount = 0;
    bool m_heldBack = false;
    QString m_filterText;
    bool m_filtered = false;
};
