#include "core/window_title.h"

#include "core/version.h"

namespace zembrock {

std::string WindowTitle() {
    return "Zembrock - Server Launcher/Editor v" + std::to_string(kVersionMajor) + "." +
           std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
}

}  // namespace zembrock
