#pragma once

// Makes Brazilian Portuguese the default locale of the process (dates, numbers, separators).
void usePortugueseLocale();
