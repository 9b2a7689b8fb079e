#pragma once

#include <QIcon>

namespace zembrock {

// The program's icon: the window's, the taskbar's and the tray's.
QIcon AppIcon();

}  // namespace zembrock
