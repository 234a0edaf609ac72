#pragma once

#include <QString>

// What a screen closing does with its window.
enum class CloseAction { Keep, Hide, Free, Minimize };

// Help of a screen: opens helpFile (looked up beside the application) at the context when the
// file exists, otherwise shows "Ajuda: contexto N".
void showHelp(const QString &helpFile, int helpContext);
