// The data-packet reader: a packet decoded from CBOR bytes, written again, and loaded into a dataset
// as a screen loads an answer.
#include "framework/core/datapacket.h"
#include "framework/core/dataset.h"
#include "fuzz/invariant.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

// Rows read cell by cell; the rest of a large packet is covered by the re-encoding.
constexpr int rowsRead = 64;

std::optional<DataPacket> decoded(QByteArrayView bytes) {
    try {
        return DataPacket::decode(bytes);
    } catch (const PacketError &) {
        return std::nullopt;
    }
}

void checkReencoding(const DataPacket &packet, const QByteArray &written) {
    const std::optional<DataPacket> again = decoded(written);
    require(again.has_value(), "a decoded packet, written again, is refused");
    require(again->fields() == packet.fields() && again->rowCount() == packet.rowCount(),
            "a decoded packet, written again, has other fields or rows");
    require(again->encode() == written, "a decoded packet, written again, reads differently");
}

void readCells(const DataPacket &packet) {
    for (int row = 0; row < std::min(packet.rowCount(), rowsRead); ++row) {
        for (int col = 0; col < packet.fields().size(); ++col)
            require(!packet.isNullAt(row, col) || !packet.value(row, col).isValid(),
                    "a null cell reads as a value");
    }
}

// Loading reads every field's definition (display formats, masks) and shows the first rows. With no
// calculated field, the dataset gives back the packet it was given.
void checkDataSet(const DataPacket &packet, const QByteArray &written) {
    ClientDataSet dataSet;
    dataSet.setData(packet);
    require(dataSet.recordCount() == packet.rowCount(), "the dataset has other rows than its packet");
    for (int row = 0; row < std::min(packet.rowCount(), rowsRead); ++row) {
        for (int col = 0; col < dataSet.fieldCount(); ++col)
            dataSet.displayTextAt(row, col);
    }
    const bool calculated = std::any_of(packet.fields().begin(), packet.fields().end(),
                                        [](const FieldDef &def) { return def.calculated; });
    if (!calculated)
        require(dataSet.data().encode() == written, "the dataset gives back another packet");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::optional<DataPacket> packet = decoded(QByteArrayView(data, qsizetype(size)));
    if (!packet)
        return 0;
    const QByteArray written = packet->encode();
    checkReencoding(*packet, written);
    readCells(*packet);
    checkDataSet(*packet, written);
    return 0;
}
