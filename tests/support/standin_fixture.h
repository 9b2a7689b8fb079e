#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "console_harness/supervision_harness.h"
#include "support/fake_dialogs.h"
#include "support/temp_folder.h"

namespace zembrock::test {

// The supervision over the real stand-in server: a game folder with the stand-in as the
// server's executable, a configuration file and the map list "night", and the console harness
// working in it with this system's real processes and windows (on Linux in a private windows
// folder, which the stand-in inherits through the environment). Whatever the test left running
// ends with it.
class StandinFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the server and runs the watchdog until its console is captured.
    void StartAndCapture();
    // Options for the stand-in servers started from now on, as on its command line.
    static void SetStandinOptions(const std::string& options);

    TempFolder m_windowsFolder;
    TempFolder m_game;
    std::filesystem::path m_previousFolder;
    std::filesystem::path m_previousCurrentFolder;
    FakeDialogs m_dialogs;
    std::unique_ptr<harness::SupervisionHarness> m_server;
};

}  // namespace zembrock::test
