#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/console_bridge.h"
#include "server/server_session.h"
#include "support/fake_clock.h"
#include "support/fake_window_system.h"

namespace zembrock::test {

// A server console on a fake window system, recorded in the session as a capture records it,
// with the console bridge over it.
class ConsoleFixture : public testing::Test {
protected:
    ConsoleFixture() { m_console.AttachTo(m_session); }

    FakeWindowSystem m_windows;
    FakeWindowSystem::ServerConsole m_console = m_windows.AddServerConsole(4242);
    FakeClock m_clock;
    ServerSession m_session;
    std::vector<std::string> m_history;
    ConsoleBridge m_bridge{m_session, m_windows, m_clock, m_history};
};

}  // namespace zembrock::test
