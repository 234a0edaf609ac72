#pragma once

#include <QString>

// What a screen closing does with its window.
enum class CloseAction { Keep, Hide, Free, Minimize };

// Help of a screen. Help files live in the folder "help" beside the application: helpFile is an
// index whose lines are "CONTEXT=page.html", the pages beside it. The page of the context opens
// in the help viewer; a context without a page is said in a message.
void showHelp(const QString &helpFile, int helpContext);
