#pragma once

#include <QtCore/qglobal.h>

#if defined(PAGCORE_LIBRARY)
#define PAGCORE_EXPORT Q_DECL_EXPORT
#else
#define PAGCORE_EXPORT Q_DECL_IMPORT
#endif
