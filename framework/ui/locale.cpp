#include "framework/ui/locale.h"

#include <QLocale>

void usePortugueseLocale() {
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
}
