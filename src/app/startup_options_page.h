#pragma once

#include <QWidget>

#include "app/field_bindings.h"
#include "maps/map_list_editor.h"
#include "platform/dialogs.h"
#include "profiles/profile_fields.h"
#include "profiles/profiles.h"

class QComboBox;

namespace zembrock {

class MapListEditorPanel;

// The "Startup options" page: the frame "Dedicated Server Options:" with the server's fields,
// the frame "Map List Editor:", and the selector "Profiles:" with its save, save-as and delete
// buttons.
class StartupOptionsPage : public QWidget {
    Q_OBJECT

public:
    StartupOptionsPage(ProfileFields& fields, Profiles& profiles, MapListEditor& mapLists, Dialogs& dialogs,
                       QWidget* parent = nullptr);

    void Render();

signals:
    // A profile was loaded: every page shows new values.
    void profileLoaded();

private:
    Profiles& m_profiles;
    FieldBindings m_bindings;
    QComboBox* m_profileList;
    MapListEditorPanel* m_mapListPanel;
};

}  // namespace zembrock
