#include "bench/support/summary.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace BenchSummary {

void figure(const QString &name, double value, const QString &unit, const QString &target, bool met) {
    std::printf("figure  %s: %.4g %s (target %s) %s\n", qPrintable(name), value, qPrintable(unit),
                qPrintable(target), met ? "met" : "NOT MET");
    std::fflush(stdout);
    const QString path = qEnvironmentVariable("PAG_BENCH_SUMMARY");
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::Append | QIODevice::Text)) {
        std::fprintf(stderr, "cannot append to the bench summary %s\n", qPrintable(path));
        return;
    }
    const QJsonObject line{{QStringLiteral("figure"), name},
                           {QStringLiteral("value"), value},
                           {QStringLiteral("unit"), unit},
                           {QStringLiteral("target"), target},
                           {QStringLiteral("met"), met}};
    file.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
}

} // namespace BenchSummary
