#pragma once

#include <QChar>
#include <functional>

class QKeyEvent;

// A key-press handler of an edit: it may replace the typed character or refuse it by throwing
// (the silent abort of MensErro or MaxNumber) or by setting it to the null character.
using KeyPressHandler = std::function<void(QChar &key)>;

// Runs handler for the printable character of event through the handler guard. Returns the
// character to insert: the typed one, a replacement, or a null character when it was refused.
QChar filterKey(const KeyPressHandler &handler, const QKeyEvent *event);
