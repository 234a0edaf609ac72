#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Named filter options, kept per screen and per operator in an ini file in the user's data folder.
// An entry holds the values of a form's controls (text entries, radio buttons, check boxes, combo
// boxes and radio groups, each under its objectName) and an option-value list of "name=value"
// lines.
namespace SavedOptions {

// The ini file; by default "opcoes.ini" in the user's data folder.
void setFileName(const QString &path);
QString fileName();

// Supplies the code of the logged-in operator (the session sets it); "" when none is set.
void setOperatorProvider(std::function<QString()> provider);
QString currentOperator();

// Names saved for a screen by the current operator, in alphabetical order.
QStringList names(const QString &screen);
void save(const QString &screen, const QString &name, const QWidget *form, const QStringList &optionValues);
// Restores the controls of form and returns the option-value list; false (nothing changed) when
// the name was never saved.
bool load(const QString &screen, const QString &name, QWidget *form, QStringList &optionValues);

} // namespace SavedOptions

// Value of name in an option-value list ("" when missing).
QString optionValue(const QStringList &optionValues, const QString &name);
// Sets name to value in an option-value list; an empty value removes the name.
void setOptionValue(QStringList &optionValues, const QString &name, const QString &value);
