#include "appserver/server/module.h"

#include "framework/core/datapacket.h"

RemoteModule::~RemoteModule() = default;

BadCall BadCall::unknownMethod(const QString &module, const QString &method) {
    return BadCall(QStringLiteral("O módulo %1 não tem o método %2.").arg(module, method));
}

BadCall BadCall::wrongCount(const QString &method, int given, const QString &expected) {
    return BadCall(
        QStringLiteral("O método %1 espera %2 argumentos e recebeu %3.").arg(method, expected).arg(given));
}

CallArgs::CallArgs(QVariantList values, QList<bool> byReference)
    : m_values(std::move(values))
    , m_byReference(std::move(byReference)) {
    m_byReference.resize(m_values.size());
}

const QVariant &CallArgs::checked(int index) const {
    if (index < 0 || index >= m_values.size())
        throw BadCall(QStringLiteral("Falta o argumento %1.").arg(index + 1));
    return m_values.at(index);
}

namespace {

BadCall wrongKind(int index, const char *kind) {
    return BadCall(
        QStringLiteral("O argumento %1 deveria ser %2.").arg(index + 1).arg(QString::fromUtf8(kind)));
}

bool isInteger(const QVariant &value) {
    return value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int;
}

} // namespace

QString CallArgs::text(int index) const {
    const QVariant &value = checked(index);
    if (!value.isValid())
        return {};
    if (value.typeId() != QMetaType::QString)
        throw wrongKind(index, "um texto");
    return value.toString();
}

double CallArgs::number(int index) const {
    const QVariant &value = checked(index);
    if (value.typeId() != QMetaType::Double && !isInteger(value))
        throw wrongKind(index, "um número");
    return value.toDouble();
}

double CallArgs::date(int index) const {
    const QVariant &value = checked(index);
    if (value.typeId() != QMetaType::Double && !isInteger(value))
        throw wrongKind(index, "uma data (número de dias)");
    return value.toDouble();
}

bool CallArgs::flag(int index) const {
    const QVariant &value = checked(index);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (!isInteger(value) || (value.toLongLong() != -1 && value.toLongLong() != 0))
        throw wrongKind(index, "um indicador (-1 ou 0)");
    return value.toLongLong() == -1;
}

DataPacket CallArgs::packet(int index) const {
    const QVariant &value = checked(index);
    if (value.metaType() != QMetaType::fromType<DataPacket>())
        throw wrongKind(index, "um pacote de dados");
    return value.value<DataPacket>();
}

void CallArgs::expectCount(const QString &method, std::initializer_list<int> expected) const {
    if (std::find(expected.begin(), expected.end(), count()) != expected.end())
        return;
    QStringList counts;
    for (int n : expected)
        counts.append(QString::number(n));
    throw BadCall::wrongCount(method, count(), counts.join(QStringLiteral(" ou ")));
}

void CallArgs::setReference(int index, const QString &value) {
    if (index >= 0 && index < m_values.size() && m_byReference.at(index))
        m_values[index] = value;
}

void ModuleRegistry::add(Factory factory) {
    const QString name = factory()->serverName();
    m_factories.append({name, std::move(factory)});
}

std::unique_ptr<RemoteModule> ModuleRegistry::create(const QString &serverName) const {
    for (const auto &[name, factory] : m_factories) {
        if (name.compare(serverName, Qt::CaseInsensitive) == 0)
            return factory();
    }
    return nullptr;
}

QStringList ModuleRegistry::serverNames() const {
    QStringList names;
    for (const auto &entry : m_factories)
        names.append(entry.first);
    return names;
}
