#pragma once

#include <QWidget>

#include "app/field_bindings.h"
#include "profiles/profile_fields.h"

namespace zembrock {

// The "Players List" page: the options of the actions on players.
class PlayersListPage : public QWidget {
    Q_OBJECT

public:
    explicit PlayersListPage(ProfileFields& fields, QWidget* parent = nullptr);

    void Render() const { m_bindings.Render(); }

private:
    FieldBindings m_bindings;
};

}  // namespace zembrock
