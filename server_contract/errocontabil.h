#pragma once

#include <QString>

// What each code of the recalculation's errors packet (CDERROTEMP) means, in the words the user
// reads. The server's codes are appserver/recalc/errorcodes.h; docs/recalculation.md explains them.
namespace ErroContabil {

// The meaning of a code; a code without one is named in a text that says so.
QString descricao(const QString &codigo);

} // namespace ErroContabil
