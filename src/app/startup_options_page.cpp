#include "app/startup_options_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/map_list_editor_panel.h"

namespace zembrock {
namespace {

QPushButton* PictureButton(QWidget* parent, const char* objectName, QStyle::StandardPixmap picture,
                           const QString& tip) {
    auto* button = new QPushButton(parent->style()->standardIcon(picture), QString(), parent);
    button->setObjectName(QLatin1String(objectName));
    button->setToolTip(tip);
    return button;
}

}  // namespace

StartupOptionsPage::StartupOptionsPage(ProfileFields& fields, Profiles& profiles, MapListEditor& mapLists,
                                       Dialogs& dialogs, QWidget* parent)
    : QWidget(parent),
      m_profiles(profiles),
      m_profileList(new QComboBox(this)),
      m_mapListPanel(new MapListEditorPanel(mapLists, dialogs, this)) {
    auto* server = new QGroupBox(QStringLiteral("Dedicated Server Options:"), this);
    auto* grid = new QGridLayout(server);
    grid->setVerticalSpacing(3);
    int row = 0;
    const auto add = [grid, &row](const char* caption, QWidget* field, int column = 0) {
        grid->addWidget(new QLabel(QLatin1String(caption)), row, column);
        grid->addWidget(field, row, column + 1);
        if (column == 2) {
            ++row;
        }
    };
    const auto addWide = [grid, &row](const char* caption, QWidget* field) {
        grid->addWidget(new QLabel(QLatin1String(caption)), row, 0);
        grid->addWidget(field, row, 1, 1, 3);
        ++row;
    };
    addWide("Server Name:", m_bindings.Text(server, "txtHostname", fields.hostName));
    add("Secure Game Port:", m_bindings.Text(server, "txtServerPort", fields.serverPort));
    add("Open Game Port:", m_bindings.Text(server, "txtGamePort", fields.gamePort), 2);
    add("Master Port:", m_bindings.Text(server, "txtMasterPort", fields.masterPort));
    add("Auth Port:", m_bindings.Text(server, "txtAuthPort", fields.authenticationPort), 2);
    add("Private Clients:", m_bindings.Text(server, "txtPrivateClients", fields.privateClients));
    add("Max Clients:", m_bindings.Text(server, "txtMaxClients", fields.maxClients), 2);
    add("RCON Password:", m_bindings.Text(server, "txtRconPassword", fields.rconPassword));
    add("Private Password:", m_bindings.Text(server, "txtPrivatePassword", fields.privatePassword), 2);
    add("Max Ping:", m_bindings.Text(server, "txtMaxPing", fields.maxPing));
    add("Voice Chat:", m_bindings.Text(server, "txtVoiceChat", fields.voiceChat), 2);
    add("Toggle Voting:", m_bindings.Text(server, "txtVoting", fields.voting));
    add("Dead Chat:", m_bindings.Text(server, "txtDeadChat", fields.deadChat), 2);
    add("Inactivity:", m_bindings.Text(server, "txtInactivity", fields.inactivity));
    add("Kick Time:", m_bindings.Text(server, "txtKickTime", fields.kickTime), 2);
    add("Server Visibility:", m_bindings.Choice(server, "cmbServerVisibility", fields.serverVisibility));
    ++row;
    addWide("Config file:", m_bindings.Choice(server, "cmbConfigFile", fields.configFiles));
    addWide("Network Interface:", m_bindings.Choice(server, "cmbNetworkInterface", fields.networkInterface));
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    m_profileList->setObjectName(QStringLiteral("cmbProfiles"));
    auto* save =
        PictureButton(this, "cmdSaveProfile", QStyle::SP_DialogSaveButton, QStringLiteral("Save profile"));
    auto* saveAs = PictureButton(this, "cmdSaveasProfile", QStyle::SP_FileDialogNewFolder,
                                 QStringLiteral("Save as new profile"));
    auto* remove =
        PictureButton(this, "cmdDeleteProfile", QStyle::SP_TrashIcon, QStringLiteral("Delete profile"));
    auto* profileRow = new QHBoxLayout;
    profileRow->addWidget(new QLabel(QStringLiteral("Profiles:"), this));
    profileRow->addWidget(m_profileList, 1);
    profileRow->addWidget(save);
    profileRow->addWidget(saveAs);
    profileRow->addWidget(remove);

    auto* right = new QVBoxLayout;
    right->addWidget(m_mapListPanel, 1);
    right->addLayout(profileRow);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(server, 5);
    layout->addLayout(right, 4);

    connect(m_profileList, &QComboBox::activated, this, [this](int index) {
        m_profiles.SelectProfile(static_cast<std::size_t>(index));
        emit profileLoaded();
    });
    connect(save, &QPushButton::clicked, this, [this] {
        m_profiles.Save();
        Render();
    });
    connect(saveAs, &QPushButton::clicked, this, [this] {
        m_profiles.SaveAs();
        emit profileLoaded();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        m_profiles.Delete();
        emit profileLoaded();
    });
}

void StartupOptionsPage::Render() {
    m_bindings.Render();
    RenderChooser(m_profileList, m_profiles.List());
    m_mapListPanel->Render();
}

}  // namespace zembrock
