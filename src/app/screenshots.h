#pragma once

#include <QString>

namespace zembrock {

class MainWindow;

// The environment variable that asks for screenshots instead of a session: its value is a path
// prefix; the program saves PREFIX-compact.png and PREFIX-expanded.png and quits.
inline constexpr const char* kScreenshotVariable = "ZEMBROCK_SCREENSHOT";

// Once the window has been painted, saves it at both heights and with the event log shown
// (PREFIX-logs.png), then quits the application with status 0 (1 when a picture could not be
// written).
void TakeScreenshotsAndQuit(MainWindow& window, const QString& prefix);

}  // namespace zembrock
