#pragma once

// Makes Brazilian Portuguese the default locale of the process (dates, numbers, separators).
void usePortugueseLocale();

// Installs Qt's own Brazilian Portuguese texts (standard buttons, dialogs, command-line help) into
// the running application object. Returns false when the translations are not installed.
bool loadQtTranslations();
