#include "framework/ui/screens/savedoptions.h"

#include "framework/ui/controls/radiogroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

namespace {

QString &storedFileName() {
    static QString path;
    return path;
}

std::function<QString()> &operatorProvider() {
    static std::function<QString()> provider;
    return provider;
}

const QString optionValuesKey = QStringLiteral("_optionValues");
const QString checksumKey = QStringLiteral("_checksum");

// A value as the ini file gives it back: texts stay texts, lists (one element or none read back as
// a text or nothing) are joined.
QString canonical(const QVariant &value) {
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u'\x1e');
    return value.toString();
}

// SHA-256 over the entry's keys and values in key order.
QString checksumOf(const QMap<QString, QVariant> &values) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        hash.addData(it.key().toUtf8());
        hash.addData(QByteArrayView("\x1f", 1));
        hash.addData(canonical(it.value()).toUtf8());
        hash.addData(QByteArrayView("\x1d", 1));
    }
    return QString::fromLatin1(hash.result().toHex());
}

QString damagedFile() {
    return QStringLiteral("O arquivo de opções salvas %1 está danificado e não pode ser lido.")
        .arg(QDir::toNativeSeparators(SavedOptions::fileName()));
}

QString groupOf(const QString &screen, const QString &name = {}) {
    const auto encoded = [](const QString &part) {
        return QString::fromLatin1(QUrl::toPercentEncoding(part));
    };
    QString group = encoded(screen.isEmpty() ? QStringLiteral("_") : screen) + QLatin1Char('/') +
                    encoded(SavedOptions::currentOperator().isEmpty() ? QStringLiteral("_")
                                                                      : SavedOptions::currentOperator());
    if (!name.isEmpty())
        group += QLatin1Char('/') + encoded(name);
    return group;
}

// Controls whose values an entry keeps: named ones that are not parts of another control.
bool isSavedControl(const QWidget *widget) {
    const QString name = widget->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
        return false;
    const QWidget *parent = widget->parentWidget();
    if (qobject_cast<const QLineEdit *>(widget))
        return !qobject_cast<const QComboBox *>(parent);
    if (qobject_cast<const QRadioButton *>(widget))
        return !qobject_cast<const RadioGroup *>(parent);
    return qobject_cast<const QCheckBox *>(widget) || qobject_cast<const QComboBox *>(widget) ||
           qobject_cast<const RadioGroup *>(widget);
}

QVariant valueOf(const QWidget *widget) {
    if (auto *edit = qobject_cast<const QLineEdit *>(widget))
        return edit->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->isChecked();
    if (auto *combo = qobject_cast<const QComboBox *>(widget))
        return combo->currentIndex();
    if (auto *group = qobject_cast<const RadioGroup *>(widget))
        return group->ItemIndex();
    return {};
}

void restore(QWidget *widget, const QVariant &value) {
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        edit->setText(value.toString());
    else if (auto *radio = qobject_cast<QRadioButton *>(widget)) {
        if (value.toBool())
            radio->setChecked(true);
    } else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        button->setChecked(value.toBool());
    else if (auto *combo = qobject_cast<QComboBox *>(widget))
        combo->setCurrentIndex(value.toInt());
    else if (auto *group = qobject_cast<RadioGroup *>(widget))
        group->setItemIndex(value.toInt());
}

} // namespace

void SavedOptions::setFileName(const QString &path) {
    storedFileName() = path;
}

QString SavedOptions::fileName() {
    if (!storedFileName().isEmpty())
        return storedFileName();
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("opcoes.ini"));
}

void SavedOptions::setOperatorProvider(std::function<QString()> provider) {
    operatorProvider() = std::move(provider);
}

QString SavedOptions::currentOperator() {
    return operatorProvider() ? operatorProvider()() : QString();
}

QStringList SavedOptions::names(const QString &screen) {
    QSettings settings(fileName(), QSettings::IniFormat);
    settings.beginGroup(groupOf(screen));
    QStringList result;
    for (const QString &group : settings.childGroups())
        result.append(QUrl::fromPercentEncoding(group.toLatin1()));
    result.sort(Qt::CaseInsensitive);
    return result;
}

void SavedOptions::save(const QString &screen, const QString &name, const QWidget *form,
                        const QStringList &optionValues) {
    QMap<QString, QVariant> values;
    for (const QWidget *widget : form->findChildren<QWidget *>())
        if (isSavedControl(widget))
            values.insert(widget->objectName(), valueOf(widget));
    values.insert(optionValuesKey, optionValues);
    QDir().mkpath(QFileInfo(fileName()).absolutePath());
    QSettings settings(fileName(), QSettings::IniFormat);
    settings.remove(groupOf(screen, name));
    settings.beginGroup(groupOf(screen, name));
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        settings.setValue(it.key(), it.value());
    settings.setValue(checksumKey, checksumOf(values));
    settings.endGroup();
    settings.sync();
}

std::optional<SavedOptions::Entry> SavedOptions::read(const QString &screen, const QString &name) {
    QSettings settings(fileName(), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        throw Damaged(damagedFile());
    settings.beginGroup(groupOf(screen, name));
    const QStringList keys = settings.childKeys();
    if (keys.isEmpty())
        return std::nullopt;
    QMap<QString, QVariant> values;
    for (const QString &key : keys)
        if (key != checksumKey)
            values.insert(key, settings.value(key));
    if (settings.value(checksumKey).toString() != checksumOf(values))
        throw Damaged(
            QStringLiteral("As opções \"%1\" estão danificadas no arquivo %2 e não foram carregadas.")
                .arg(name, QDir::toNativeSeparators(fileName())));
    Entry entry;
    entry.optionValues = values.take(optionValuesKey).toStringList();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        entry.controls.insert(it.key(), it.value());
    return entry;
}

void SavedOptions::apply(const Entry &entry, QWidget *form) {
    for (QWidget *widget : form->findChildren<QWidget *>())
        if (isSavedControl(widget) && entry.controls.contains(widget->objectName()))
            restore(widget, entry.controls.value(widget->objectName()));
}

bool SavedOptions::load(const QString &screen, const QString &name, QWidget *form,
                        QStringList &optionValues) {
    const std::optional<Entry> entry = read(screen, name);
    if (!entry)
        return false;
    apply(*entry, form);
    optionValues = entry->optionValues;
    return true;
}

QString optionValue(const QStringList &optionValues, const QString &name) {
    const QString prefix = name + QLatin1Char('=');
    for (const QString &line : optionValues)
        if (line.startsWith(prefix, Qt::CaseInsensitive))
            return line.mid(prefix.size());
    return {};
}

void setOptionValue(QStringList &optionValues, const QString &name, const QString &value) {
    const QString prefix = name + QLatin1Char('=');
    optionValues.erase(
        std::remove_if(optionValues.begin(), optionValues.end(),
                       [&](const QString &line) { return line.startsWith(prefix, Qt::CaseInsensitive); }),
        optionValues.end());
    if (!value.isEmpty())
        optionValues.append(prefix + value);
}
