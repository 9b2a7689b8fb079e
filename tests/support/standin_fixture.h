#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "console/console_bridge.h"
#include "maps/map_list_editor.h"
#include "platform/processes.h"
#include "platform/system_clock.h"
#include "platform/window_system.h"
#include "server/server_supervisor.h"
#include "support/fake_dialogs.h"
#include "support/fake_timer.h"
#include "support/temp_folder.h"

namespace zembrock::test {

// Without a window there are no events to serve in a wait.
class NoEvents final : public EventPump {
public:
    void PumpOnce() override {}
};

// The supervision over the real stand-in server: a private windows folder (the stand-in
// inherits it through the environment), a game folder with the stand-in as the server's
// executable, a configuration file and the map list "night", real processes and windows, and a
// watchdog whose timer the test ticks at its own interval. Whatever the test left running ends
// with it.
class StandinFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Ticks the watchdog at its interval, as its timer would, until done() or maxTicks.
    bool TickUntil(const std::function<bool()>& done, int maxTicks);
    // Starts the server and ticks until its console is captured.
    void StartAndCapture();
    bool Logged(const std::string& text) const;

    TempFolder m_windowsFolder;
    TempFolder m_game;
    std::filesystem::path m_previousFolder;
    SystemClock m_clock;
    NoEvents m_pump;
    FakeDialogs m_dialogs;
    FakeTimer m_timer;
    std::unique_ptr<WindowSystem> m_windows;
    std::unique_ptr<Processes> m_processes;
    ServerSession m_session;
    ProfileFields m_fields;
    std::unique_ptr<MapListEditor> m_mapLists;
    EventLog m_log{m_game / "systemlog.txt", m_clock, m_pump};
    std::unique_ptr<ConsoleBridge> m_console;
    SupervisionDisplay m_display;
    std::unique_ptr<ServerSupervisor> m_supervisor;
};

}  // namespace zembrock::test
