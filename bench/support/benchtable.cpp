// Prints the figures gathered in a bench summary file (JSON lines) as one table, a line per figure.
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>

#include <algorithm>
#include <cstdio>

namespace {

struct Row {
    QString figure, value, target, met;
};

QList<Row> readRows(QFile &file) {
    QList<Row> rows;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.isEmpty())
            continue;
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        const QString unit = object.value(QStringLiteral("unit")).toString();
        rows.append({object.value(QStringLiteral("figure")).toString(),
                     QString::number(object.value(QStringLiteral("value")).toDouble(), 'g', 4) +
                         (unit.isEmpty() ? QString() : u' ' + unit),
                     object.value(QStringLiteral("target")).toString(),
                     object.value(QStringLiteral("met")).toBool() ? QStringLiteral("met")
                                                                  : QStringLiteral("NOT MET")});
    }
    return rows;
}

void printTable(const QList<Row> &rows) {
    qsizetype widths[3] = {6, 5, 6};
    for (const Row &row : rows) {
        widths[0] = std::max(widths[0], row.figure.size());
        widths[1] = std::max(widths[1], row.value.size());
        widths[2] = std::max(widths[2], row.target.size());
    }
    auto print = [&](const QString &a, const QString &b, const QString &c, const QString &d) {
        std::printf("%s  %s  %s  %s\n", qPrintable(a.leftJustified(widths[0])),
                    qPrintable(b.rightJustified(widths[1])), qPrintable(c.leftJustified(widths[2])),
                    qPrintable(d));
    };
    print(QStringLiteral("figure"), QStringLiteral("value"), QStringLiteral("target"), QString());
    for (const Row &row : rows)
        print(row.figure, row.value, row.target, row.met);
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: benchtable SUMMARY.jsonl\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const QList<Row> rows = readRows(file);
    printTable(rows);
    const auto missed =
        std::count_if(rows.begin(), rows.end(), [](const Row &row) { return row.met != u"met"; });
    std::printf("%lld of %lld figures met their target\n", qlonglong(rows.size() - missed),
                qlonglong(rows.size()));
    return 0;
}
