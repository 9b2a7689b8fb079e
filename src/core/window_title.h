#pragma once

#include <string>

namespace zembrock {

// "Zembrock - Server Launcher/Editor v" and the version as major.minor.revision: the main
// window's caption, the tray tooltip and the balloon's title.
std::string WindowTitle();

}  // namespace zembrock
