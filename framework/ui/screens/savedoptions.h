#pragma once

#include <QString>
#include <QStringList>
#include <QVariantHash>
#include <functional>
#include <optional>
#include <stdexcept>

class QWidget;

// Named filter options, kept per screen and per operator in an ini file in the user's data folder.
// An entry holds the values of a form's controls (text entries, radio buttons, check boxes, combo
// boxes and radio groups, each under its objectName) and an option-value list of "name=value"
// lines, sealed with a checksum so that an entry damaged on disk is recognised and not used.
namespace SavedOptions {

// An entry as read: control values by objectName, and the option-value list.
struct Entry {
    QVariantHash controls;
    QStringList optionValues;
};

// The file cannot be read, or an entry in it is not as it was saved. message() is for the user.
class Damaged : public std::runtime_error {
public:
    explicit Damaged(const QString &message)
        : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// The ini file; by default "opcoes.ini" in the user's data folder.
void setFileName(const QString &path);
QString fileName();

// Supplies the code of the logged-in operator (the session sets it); "" when none is set.
void setOperatorProvider(std::function<QString()> provider);
QString currentOperator();

// Names saved for a screen by the current operator, in alphabetical order.
QStringList names(const QString &screen);
void save(const QString &screen, const QString &name, const QWidget *form, const QStringList &optionValues);
// The entry saved under name; nothing when the name was never saved. Throws Damaged.
std::optional<Entry> read(const QString &screen, const QString &name);
// Puts the saved values into the controls of form that the entry holds.
void apply(const Entry &entry, QWidget *form);
// read and apply; returns the option-value list. False (nothing changed) when the name was never
// saved. Throws Damaged, with nothing changed.
bool load(const QString &screen, const QString &name, QWidget *form, QStringList &optionValues);

} // namespace SavedOptions

// Value of name in an option-value list ("" when missing).
QString optionValue(const QStringList &optionValues, const QString &name);
// Sets name to value in an option-value list; an empty value removes the name.
void setOptionValue(QStringList &optionValues, const QString &name, const QString &value);
