// Writes the seed corpus: valid messages, frames and packets of every kind the protocol carries.
// Usage: fuzz_seeds FOLDER (writes FOLDER/frame, FOLDER/cbor and FOLDER/packet).
#include "framework/core/datapacket.h"
#include "framework/net/wire.h"

#include <QCborArray>
#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

// One field of each kind, display properties set, some nulls.
DataPacket instalments() {
    FieldDef supplier{QStringLiteral("CDFORNECED"), FieldKind::FixedText, 6};
    supplier.displayLabel = QStringLiteral("Fornecedor");
    supplier.editMask = QStringLiteral("000000;1;_");
    supplier.required = true;
    FieldDef due{QStringLiteral("DTVENCIMEN"), FieldKind::DateTime};
    due.displayFormat = QStringLiteral("dd/MM/yyyy");
    FieldDef amount{QStringLiteral("VLPARCELA"), FieldKind::Float};
    amount.displayFormat = QStringLiteral("#,##0.00");
    amount.alignment = Qt::AlignRight;
    amount.displayWidth = 12;
    FieldDef hidden{QStringLiteral("NRSEQUENC"), FieldKind::Integer};
    hidden.visible = false;
    hidden.providerFlags = false;
    DataPacket packet({supplier, FieldDef{QStringLiteral("NMFORNECED"), FieldKind::Text, 40}, due, amount,
                       hidden, FieldDef{QStringLiteral("FLMARCADO"), FieldKind::Boolean}});
    packet.appendRow(
        {QStringLiteral("000123"), QStringLiteral("Papelaria Ipê Ltda."), 45000.0, 1234.56, 1, true});
    packet.appendRow({QStringLiteral("000124"), QVariant(), 45031.5, -0.01, qint64(1) << 40, false});
    packet.appendRow({QVariant(), QStringLiteral("ação"), QVariant(), QVariant(), QVariant(), QVariant()});
    return packet;
}

DataPacket withCalculatedField() {
    FieldDef total{QStringLiteral("VLTOTAL"), FieldKind::Float};
    total.calculated = true;
    DataPacket packet({FieldDef{QStringLiteral("CDEMPRESA"), FieldKind::Text, 2}, total});
    packet.appendRow({QStringLiteral("01"), 10.0});
    return packet;
}

DataPacket emptyPacket() {
    return DataPacket({FieldDef{QStringLiteral("CDEMPRESA"), FieldKind::Text, 2}});
}

QCborMap hello() {
    QCborMap map;
    map.insert(QLatin1StringView("type"), QLatin1StringView("hello"));
    map.insert(QLatin1StringView("version"), Wire::protocolVersion);
    map.insert(QLatin1StringView("operator"), QLatin1StringView("admin"));
    map.insert(QLatin1StringView("password"), QLatin1StringView("admin"));
    return map;
}

Wire::Message call() {
    const QVariantList args = {QStringLiteral("01"),
                               qint64(-1),
                               3.25,
                               QVariant(),
                               true,
                               QByteArray("\x00\xff", 2),
                               QVariantList{1, QStringLiteral("a")},
                               QVariantMap{{QStringLiteral("CDEMPRESA"), QStringLiteral("01")}},
                               QVariant::fromValue(instalments())};
    Wire::Message map;
    map.insert(QLatin1StringView("type"), QLatin1StringView("call"));
    map.insert(QLatin1StringView("id"), 17);
    map.insert(QLatin1StringView("module"), QLatin1StringView("PAG00800.rdmRecConPag"));
    map.insert(QLatin1StringView("method"), QLatin1StringView("GetCntPagar"));
    map.insertValue(QLatin1StringView("args"), args);
    map.insert(QLatin1StringView("byref"), QCborArray{0, 2});
    return map;
}

Wire::Message result() {
    QCborMap refs;
    refs.insert(0, QLatin1StringView("000123"));
    Wire::Message map;
    map.insert(QLatin1StringView("type"), QLatin1StringView("result"));
    map.insert(QLatin1StringView("id"), 17);
    map.insertValue(QLatin1StringView("value"), QVariantList{0, QVariant::fromValue(withCalculatedField())});
    map.insert(QLatin1StringView("refs"), refs);
    return map;
}

QCborMap failure() {
    QCborMap map;
    map.insert(QLatin1StringView("type"), QLatin1StringView("failure"));
    map.insert(QLatin1StringView("id"), 17);
    map.insert(QLatin1StringView("message"), QStringLiteral("Filtro amplo demais."));
    return map;
}

QByteArray cborOf(const Wire::Message &message) {
    return Wire::encodeFrame(message).sliced(4);
}

bool write(const QString &folder, const QString &name, const QByteArray &bytes) {
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// A frame seed: a first byte (bit 0: signed in; the rest: how the stream is cut into reads), then frames.
QByteArray stream(char mode, const QList<Wire::Message> &messages) {
    QByteArray bytes(1, mode);
    for (const Wire::Message &message : messages)
        bytes += Wire::encodeFrame(message);
    return bytes;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString frames = root + QStringLiteral("/frame");
    const QString messages = root + QStringLiteral("/cbor");
    const QString packets = root + QStringLiteral("/packet");
    const bool written =
        write(frames, QStringLiteral("hello-call"), stream('\x00', {hello(), call()})) &&
        write(frames, QStringLiteral("hello-only"), stream('\x06', {hello()})) &&
        write(frames, QStringLiteral("signed-in-answers"), stream('\x13', {result(), failure(), result()})) &&
        write(messages, QStringLiteral("hello"), cborOf(hello())) &&
        write(messages, QStringLiteral("call"), cborOf(call())) &&
        write(messages, QStringLiteral("result"), cborOf(result())) &&
        write(messages, QStringLiteral("failure"), cborOf(failure())) &&
        write(packets, QStringLiteral("instalments"), instalments().encode()) &&
        write(packets, QStringLiteral("calculated"), withCalculatedField().encode()) &&
        write(packets, QStringLiteral("empty"), emptyPacket().encode());
    if (!written) {
        std::fprintf(stderr, "could not write the seeds under %s\n", argv[1]);
        return 1;
    }
    return 0;
}
