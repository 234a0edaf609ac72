// A library in the packages folder that lacks the entry IniProc.
#include <QtGlobal>

extern "C" Q_DECL_EXPORT int NotAnEntry() {
    return 0;
}
