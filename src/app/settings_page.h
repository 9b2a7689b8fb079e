#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "app/field_bindings.h"
#include "core/event_log.h"
#include "platform/processes.h"
#include "profiles/profile_fields.h"
#include "server/server_session.h"

class QListWidget;

namespace zembrock {

// The "Settings" page: the frame "Console:" (messages with the server, start window hidden,
// respond retries, the server's processors) and the frame "Program:" (this program's processors).
class SettingsPage : public QWidget {
    Q_OBJECT

public:
    using ProcessIdSource = std::function<std::uint32_t()>;

    // consoleProcess: the process that owns the captured console (0 when there is none).
    SettingsPage(ProfileFields& fields, ServerSession& session, Processes& processes, EventLog& log,
                 ProcessIdSource consoleProcess, QWidget* parent = nullptr);

    void Render();

private:
    QWidget* CoreFrame(AffinityTarget target);
    CoreList& ListOf(AffinityTarget target);
    void RenderCores(AffinityTarget target);

    ProfileFields& m_fields;
    ServerSession& m_session;
    Processes& m_processes;
    EventLog& m_log;
    ProcessIdSource m_consoleProcess;
    FieldBindings m_bindings;
    std::array<QListWidget*, 2> m_coreLists{};
};

}  // namespace zembrock
