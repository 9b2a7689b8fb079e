#pragma once

#include <QWidget>

#include "app/field_bindings.h"
#include "console/player_log.h"
#include "core/event_log.h"
#include "profiles/profile_fields.h"

class QCheckBox;
class QLineEdit;
class QTextEdit;

namespace zembrock {

// The "Logs" page: the coloured on-screen event log "System msg:" and the frame "Save logs:"
// with the file-logging box and the size limit of the log files.
class LogsPage : public QWidget, public EventLogObserver {
    Q_OBJECT

public:
    LogsPage(EventLog& log, ProfileFields& fields, PlayerLog& playerLog, QWidget* parent = nullptr);

    // Shows the log options of the models again (after a profile was loaded).
    void Render();

    void EntryAppended(const LogEntry& entry) override;
    void FileLoggingChanged() override;

private:
    void RenderEntry(const LogEntry& entry);
    void RenderFileLogging();

    EventLog& m_log;
    FieldBindings m_bindings;
    QTextEdit* m_richLogBox;
    QCheckBox* m_chkLogSystem;
    QLineEdit* m_txtmaxLog;
};

}  // namespace zembrock
