#pragma once

#include "framework/core/celloverlay.h"
#include "framework/core/datapacket.h"

#include <optional>

// Row storage of a dataset: the loaded packet's columns as they arrived, plus an overlay of the
// cells written since, per declared field. Rows beyond the packet's exist only in the overlay.
class DataSetStore {
public:
    // Empties the store for the declared fields.
    void reset(const QList<FieldDef> &declared);
    // Takes the packet's columns, matched to the declared fields by name.
    void load(const QList<FieldDef> &declared, const DataPacket &packet);

    int rowCount() const { return m_rows; }
    QVariant value(int row, int field) const;
    // A text field's cell, read straight from the packet when it is there.
    QString textOf(int row, int field) const;
    bool textEquals(int row, int field, QStringView text, Qt::CaseSensitivity cs) const;
    // A number or date cell read straight from the packet (a null reads as 0); nothing when the
    // cell was written since or the packet holds it in another kind.
    std::optional<double> packetReal(int row, int field) const;
    void appendText(int row, int field, QString &out) const;
    void setValue(int row, int field, QVariant value);
    int appendRow();

    // All rows: declared data fields, then the packet's fields that were not declared.
    DataPacket toPacket() const;

private:
    std::optional<QByteArrayView> packetText(int row, int field) const;
    PacketColumn buildColumn(const FieldDef &def, int field) const;
    PacketColumn extendColumn(int packetColumn) const;

    QList<FieldDef> m_declared;
    DataPacket m_packet;
    QList<int> m_packetColumn; // declared field -> packet column, or -1
    QList<bool> m_sameKind;    // packet column of the same kind as the declared field
    // Text fields whose packet column holds texts too: read straight from it (the packet is shared
    // and never changed here, so the pointers live as long as m_packet).
    QList<const PacketColumn *> m_textColumn;
    QList<const PacketColumn *> m_realColumn; // likewise for numbers and dates
    QList<CellOverlay> m_overlay;
    int m_rows = 0;
    int m_packetRows = 0;
};
