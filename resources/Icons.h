#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

// The program's pictures, drawn in code so they stay crisp and need no
// image files: toolbar buttons (16 x 15) by command id, and the 21 images of
// the location tree (16 x 16) by index.
namespace Icons {

QIcon CommandIcon(int nCommandId);
// The program's own picture, drawn to scale for any square size: the test
// device with a vector diagram on its display.
QImage ProgramImage(int nSize);
// The program icon at the sizes desktops ask for.
QIcon ProgramIcon();
inline constexpr int kProgramIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
QPixmap TreeImage(int nIndex);
inline constexpr int kTreeImageCount = 21;

} // namespace Icons
