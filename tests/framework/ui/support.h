#pragma once

#include "framework/core/dataset.h"

#include <QWidget>
#include <functional>
#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString &text, std::ostream *out) {
    *out << '"' << text.toStdString() << '"';
}

// Runs action on the next modal dialog as soon as it is on screen (from the event loop that the
// dialog's exec runs).
void onNextModal(std::function<void(QWidget *dialog)> action);

// Clicks the button of dialog whose text is text.
void clickButton(QWidget *dialog, const QString &text);

// Fields CODIGO text(6) right-aligned, NOME text(30), VALOR float, IDMARCADO text(1) and the calculated
// ROTULO text(40) ("<CODIGO>-<NOME>"); rows coded 000000, 000001, ... named "Nome <n>".
void declareRows(ClientDataSet &rows);
void loadRows(ClientDataSet &rows, int count);

// Shows window and waits until it is the active window.
bool showActive(QWidget *window);
