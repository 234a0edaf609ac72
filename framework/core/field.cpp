#include "framework/core/field.h"

#include "framework/core/dataset.h"
#include "framework/core/routines.h"
#include "framework/core/tdatetime.h"

#include <QLocale>
#include <cmath>
#include <stdexcept>

namespace {
const QLocale &brazil() {
    static const QLocale locale = [] {
        QLocale l(QLocale::Portuguese, QLocale::Brazil);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    return locale;
}

bool isTextKind(FieldKind kind) {
    return kind == FieldKind::Text || kind == FieldKind::FixedText;
}

// Numbers typed by users come in Brazilian notation; values from code may use a plain point.
double parseNumber(const QString &text, const QString &fieldName) {
    bool ok = false;
    double number = brazil().toDouble(text.trimmed(), &ok);
    if (!ok)
        number = text.trimmed().toDouble(&ok);
    if (!ok)
        throw std::invalid_argument(QStringLiteral("\"%1\" não é um valor válido para o campo %2")
                                        .arg(text, fieldName)
                                        .toStdString());
    return number;
}

// Dates typed as dd/MM/yyyy (optionally with hh:mm[:ss]); anything else as a day count.
double parseDateTime(const QString &text, const QString &fieldName) {
    const QString trimmed = text.trimmed();
    if (!trimmed.contains(u'/'))
        return parseNumber(trimmed, fieldName);
    // Date and time are read apart, as wall-clock values, so no local time-zone gap can refuse them.
    const QDate date = QDate::fromString(trimmed.left(10), QStringLiteral("dd/MM/yyyy"));
    const QString timeText = trimmed.mid(10).trimmed();
    QTime time(0, 0);
    if (!timeText.isEmpty())
        time = QTime::fromString(timeText,
                                 timeText.size() > 5 ? QStringLiteral("hh:mm:ss") : QStringLiteral("hh:mm"));
    if (date.isValid() && time.isValid())
        return toDays(QDateTime(date, time, Qt::UTC));
    throw std::invalid_argument(
        QStringLiteral("\"%1\" não é uma data válida para o campo %2").arg(text, fieldName).toStdString());
}

QString formatDateTime(double days) {
    const QDateTime moment = toDateTime(days);
    if (!moment.isValid())
        return {};
    if (moment.time().msecsSinceStartOfDay() == 0)
        return moment.toString(QStringLiteral("dd/MM/yyyy"));
    return moment.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
}

// Display formats of the "#,##0.00" family: the decimals after the point, grouping when a comma appears.
QString formatNumber(double value, const QString &format) {
    const qsizetype point = format.indexOf(u'.');
    const int decimals = point < 0 ? 0 : int(format.size() - point - 1);
    const double rounded = RoundDec(value, decimals);
    QLocale locale(QLocale::Portuguese, QLocale::Brazil);
    if (!format.contains(u','))
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(rounded == 0 ? 0.0 : rounded, 'f', decimals);
}
} // namespace

Field::Field(ClientDataSet *dataSet, int index, const FieldDef &def)
    : m_dataSet(dataSet)
    , m_index(index)
    , m_def(def) {}

QVariant Field::value() const {
    return m_dataSet->currentValue(m_index);
}

bool Field::isNull() const {
    return !value().isValid();
}

QString Field::asString() const {
    if (readsStoredText())
        return m_dataSet->currentText(m_index);
    const QVariant current = value();
    if (!current.isValid())
        return {};
    switch (m_def.kind) {
    case FieldKind::DateTime:
        return formatDateTime(current.toDouble());
    case FieldKind::Float:
        return brazil().toString(current.toDouble(), 'g', QLocale::FloatingPointShortest);
    case FieldKind::Boolean:
        return current.toBool() ? QStringLiteral("S") : QStringLiteral("N");
    default:
        return current.toString();
    }
}

void Field::appendAsString(QString &out) const {
    if (readsStoredText())
        m_dataSet->appendCurrentText(m_index, out);
    else
        out += asString();
}

double Field::asDateTime() const {
    return asFloat();
}

double Field::asFloat() const {
    const bool storedReal =
        (m_def.kind == FieldKind::Float || m_def.kind == FieldKind::DateTime) && !m_def.calculated;
    if (const std::optional<double> stored =
            storedReal ? m_dataSet->storedCurrentReal(m_index) : std::nullopt)
        return *stored;
    const QVariant current = value();
    if (!current.isValid())
        return 0;
    return isTextKind(m_def.kind) ? parseNumber(current.toString(), m_def.name) : current.toDouble();
}

qint64 Field::asInteger() const {
    const QVariant current = value();
    if (m_def.kind == FieldKind::Integer || m_def.kind == FieldKind::Boolean)
        return current.toLongLong();
    return qRound64(asFloat());
}

bool Field::asBoolean() const {
    const QVariant current = value();
    if (isTextKind(m_def.kind))
        return current.toString().trimmed().toUpper() == u"S";
    return current.toBool();
}

void Field::setValue(const QVariant &value) {
    m_dataSet->setCurrentValue(m_index, normalized(value));
}

// Texts into a text field skip the general conversion: one variant is built and handed on.
void Field::setAsString(const QString &value) {
    if (!isTextKind(m_def.kind)) {
        setValue(value);
        return;
    }
    m_dataSet->setCurrentValue(m_index,
                               m_def.size > 0 && value.size() > m_def.size ? value.left(m_def.size) : value);
}

void Field::setAsDateTime(double days) {
    setValue(days == 0 && m_def.kind == FieldKind::DateTime ? QVariant() : QVariant(days));
}

void Field::setAsFloat(double value) {
    setValue(value);
}

void Field::setAsInteger(qint64 value) {
    setValue(value);
}

void Field::clear() {
    setValue(QVariant());
}

QString Field::displayText() {
    return m_onGetText ? m_onGetText(*this) : formatValue(value());
}

void Field::setOnGetText(std::function<QString(Field &)> handler) {
    m_onGetText = std::move(handler);
}

QString Field::formatValue(const QVariant &value) const {
    if (!value.isValid())
        return {};
    switch (m_def.kind) {
    case FieldKind::DateTime:
        return formatDateTime(value.toDouble());
    case FieldKind::Float:
    case FieldKind::Integer:
        if (!m_def.displayFormat.isEmpty())
            return formatNumber(value.toDouble(), m_def.displayFormat);
        return brazil().toString(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case FieldKind::Boolean:
        return value.toBool() ? QStringLiteral("S") : QStringLiteral("N");
    default:
        return value.toString();
    }
}

QVariant Field::normalized(const QVariant &value) const {
    if (!value.isValid())
        return {};
    const bool fromText = value.typeId() == QMetaType::QString;
    if (fromText && isTextKind(m_def.kind)) {
        const QString &text = *static_cast<const QString *>(value.constData());
        return m_def.size > 0 && text.size() > m_def.size ? QVariant(text.left(m_def.size)) : value;
    }
    if (value.isNull())
        return {};
    switch (m_def.kind) {
    case FieldKind::Text:
    case FieldKind::FixedText: {
        const QString text = value.toString();
        return m_def.size > 0 && text.size() > m_def.size ? text.left(m_def.size) : text;
    }
    case FieldKind::DateTime:
        if (fromText && EmptyString(value.toString()))
            return {};
        return fromText ? parseDateTime(value.toString(), m_def.name) : value.toDouble();
    case FieldKind::Float:
        if (fromText && value.toString().trimmed().isEmpty())
            return {};
        return fromText ? parseNumber(value.toString(), m_def.name) : value.toDouble();
    case FieldKind::Integer:
        if (fromText && value.toString().trimmed().isEmpty())
            return {};
        return fromText ? qRound64(parseNumber(value.toString(), m_def.name)) : value.toLongLong();
    case FieldKind::Boolean:
        return fromText ? QVariant(value.toString().trimmed().toUpper() == u"S") : QVariant(value.toBool());
    }
    return value;
}
