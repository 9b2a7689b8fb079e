#pragma once

#include <QWidget>
#include <functional>

#include "app/field_bindings.h"
#include "console/console_bridge.h"
#include "console/player_actions.h"
#include "console/status_parser.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "profiles/profile_fields.h"

class QCheckBox;
class QComboBox;
class QMenu;
class QTableWidget;

namespace zembrock {

// The "Players List" page: the player table of the last "status" answer, its pop-up menu of
// kicks and bans, "Kick All", the reason options, "TempBan Time:" and the ban list editor.
class PlayersListPage : public QWidget {
    Q_OBJECT

public:
    struct Models {
        ProfileFields& fields;
        PlayerTable& table;
        ConsoleBridge& console;
        Dialogs& dialogs;
        Clock& clock;
        EventPump& pump;
        std::function<void()> openBanList;  // "UnBan"
    };

    explicit PlayersListPage(Models models, QWidget* parent = nullptr);

    void Render();

private:
    void RenderTable();
    void OpenMenu(const QPoint& position);
    void Run(PlayerAction action);
    PlayerActionOptions Options() const;

    Models m_models;
    FieldBindings m_bindings;
    QTableWidget* m_listView3;
    QComboBox* m_cmbBanReasons;
    QCheckBox* m_chkNobanReason;
    QMenu* m_menu;
};

}  // namespace zembrock
