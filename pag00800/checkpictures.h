#pragma once

#include <QColor>
#include <QPixmap>

// The pictures of the marking column: a 16 x 16 olive square holding a 10 x 10 box with a black top
// and left edge, a white inside and a silver shadow on its right and lower side; the ticked one
// has a black tick inside the box. Olive is the colour the grid leaves out when drawing them.
inline const QColor checkPictureBackground(128, 128, 0);

QPixmap checkBoxPicture(bool ticked);
