#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, drawn in code so they stay crisp and need no
// image files: toolbar buttons (16 x 15) by command id, and the 21 images of
// the location tree (16 x 16) by index.
namespace Icons {

QIcon CommandIcon(int nCommandId);
QPixmap TreeImage(int nIndex);
inline constexpr int kTreeImageCount = 21;

} // namespace Icons
