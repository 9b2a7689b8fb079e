#include "app/players_list_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

#include "app/ansi_text.h"
#include "app/field_bindings.h"

namespace zembrock {
namespace {

constexpr std::array<const char*, 9> kColumns = {"ID",       "Score",   "Ping",  "GUID", "Player",
                                                 "Last msg", "Address", "Qport", "Rate"};

QAction* MenuAction(QMenu* menu, const char* objectName, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(objectName));
    return action;
}

// The model row of the view's selection (the view may be sorted otherwise); its key is the ID.
const PlayerRow* SelectedRow(const QTableWidget* table, const PlayerTable& model) {
    const QList<QTableWidgetItem*> selected = table->selectedItems();
    if (selected.isEmpty()) {
        return nullptr;
    }
    const QString id = table->item(selected.front()->row(), 0)->text();
    for (const PlayerRow& row : model.Rows()) {
        if (FromAnsi(row.id) == id) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

PlayersListPage::PlayersListPage(Models models, QWidget* parent)
    : QWidget(parent),
      m_models(std::move(models)),
      m_listView3(new QTableWidget(this)),
      m_cmbBanReasons(new QComboBox(this)),
      m_chkNobanReason(new QCheckBox(QStringLiteral("No Reason"), this)),
      m_menu(new QMenu(this)) {
    m_listView3->setObjectName(QStringLiteral("ListView3"));
    m_listView3->setColumnCount(static_cast<int>(kColumns.size()));
    QStringList headers;
    for (const char* column : kColumns) {
        headers << QLatin1String(column);
    }
    m_listView3->setHorizontalHeaderLabels(headers);
    m_listView3->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_listView3->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listView3->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_listView3->setShowGrid(true);
    m_listView3->verticalHeader()->hide();
    m_listView3->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_listView3->horizontalHeader()->setStretchLastSection(true);
    m_listView3->setSortingEnabled(true);
    m_listView3->setContextMenuPolicy(Qt::CustomContextMenu);

    m_cmbBanReasons->setObjectName(QStringLiteral("cmbBanReasons"));
    m_cmbBanReasons->setEditable(true);
    m_cmbBanReasons->setMinimumWidth(160);
    m_chkNobanReason->setObjectName(QStringLiteral("chkNobanReason"));
    constexpr int kTempBanDigits = 4;
    auto* tempBan = m_bindings.Text(this, "txtTempBanTime", m_models.fields.tempBanTime, kTempBanDigits);
    tempBan->setMaximumWidth(50);
    tempBan->setToolTip(
        QStringLiteral("Time in seconds for a player temporary ban (on kick/tempban) (range 0 - 3600)"));
    AllowOnlyCharacters(tempBan, QStringLiteral("0123456789"));

    auto* refresh = MakeButton("Refresh", "cmdLocalStatus", this);
    auto* kickAll = MakeButton("Kick All", "cmdKickAll", this);
    auto* unBan = MakeButton("UnBan", "isButton12", this);
    auto* row = new QHBoxLayout;
    row->addWidget(refresh);
    row->addWidget(kickAll);
    row->addWidget(unBan);
    row->addStretch();
    row->addWidget(new QLabel(QStringLiteral("Reason:"), this));
    row->addWidget(m_cmbBanReasons);
    row->addWidget(m_chkNobanReason);
    row->addWidget(new QLabel(QStringLiteral("TempBan Time:"), this));
    row->addWidget(tempBan);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_listView3, 1);
    layout->addLayout(row);

    m_menu->setObjectName(QStringLiteral("mnuServerPlayers"));
    QAction* title = MenuAction(m_menu, "mnuPlayername", QString());
    title->setEnabled(false);
    m_menu->addSeparator()->setObjectName(QStringLiteral("mnuseperator"));
    connect(MenuAction(m_menu, "mnuPlayerKick", QStringLiteral("Kick")), &QAction::triggered, this,
            [this] { Run(PlayerAction::Kick); });
    connect(MenuAction(m_menu, "mnuKickClient", QString()), &QAction::triggered, this,
            [this] { Run(PlayerAction::KickClient); });
    connect(MenuAction(m_menu, "mnuPlayerBan", QStringLiteral("Ban")), &QAction::triggered, this,
            [this] { Run(PlayerAction::Ban); });
    connect(MenuAction(m_menu, "mnuBanClient", QString()), &QAction::triggered, this,
            [this] { Run(PlayerAction::BanClient); });
    connect(MenuAction(m_menu, "mnuDumpUser", QStringLiteral("DumpUser")), &QAction::triggered, this,
            [this] { Run(PlayerAction::DumpUser); });
    m_menu->addSeparator()->setObjectName(QStringLiteral("mnuseperator2"));
    connect(MenuAction(m_menu, "mnuPlayerTempBan", QStringLiteral("Temp Ban")), &QAction::triggered, this,
            [this] { Run(PlayerAction::TempBan); });
    connect(MenuAction(m_menu, "mnuTempBanClient", QString()), &QAction::triggered, this,
            [this] { Run(PlayerAction::TempBanClient); });

    connect(refresh, &QPushButton::clicked, this, [this] {
        m_models.table.Refresh(m_models.console, m_models.clock, m_models.pump);
        RenderTable();
    });
    connect(kickAll, &QPushButton::clicked, this, [this] { Run(PlayerAction::KickAll); });
    connect(unBan, &QPushButton::clicked, this, [this] { m_models.openBanList(); });
    connect(m_chkNobanReason, &QCheckBox::toggled, m_cmbBanReasons, &QWidget::setDisabled);
    connect(m_listView3, &QWidget::customContextMenuRequested, this, &PlayersListPage::OpenMenu);
}

PlayerActionOptions PlayersListPage::Options() const {
    return PlayerActionOptions{m_models.fields.tempBanTime, ToAnsi(m_cmbBanReasons->currentText()),
                               m_chkNobanReason->isChecked()};
}

void PlayersListPage::OpenMenu(const QPoint& position) {
    if (!ShouldOpenPlayerMenu(true, m_models.table.Rows().size())) {
        return;
    }
    const PlayerRow* row = SelectedRow(m_listView3, m_models.table);
    const PlayerMenuCaptions captions =
        MenuCaptionsFor(row != nullptr ? *row : m_models.table.Rows().front());
    m_menu->findChild<QAction*>(QStringLiteral("mnuPlayername"))->setText(FromAnsi(captions.title));
    m_menu->findChild<QAction*>(QStringLiteral("mnuKickClient"))->setText(FromAnsi(captions.kickClient));
    m_menu->findChild<QAction*>(QStringLiteral("mnuBanClient"))->setText(FromAnsi(captions.banClient));
    m_menu->findChild<QAction*>(QStringLiteral("mnuTempBanClient"))
        ->setText(FromAnsi(captions.tempBanClient));
    m_menu->popup(m_listView3->viewport()->mapToGlobal(position));
}

void PlayersListPage::Run(PlayerAction action) {
    RunPlayerAction(action, SelectedRow(m_listView3, m_models.table), Options(), m_models.console,
                    m_models.dialogs);
}

void PlayersListPage::RenderTable() {
    m_listView3->setSortingEnabled(false);
    m_listView3->clearContents();
    const std::vector<PlayerRow>& rows = m_models.table.Rows();
    m_listView3->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const PlayerRow& row = rows[r];
        const std::array<const std::string*, 9> cells = {&row.id,      &row.score,  &row.ping,
                                                         &row.guid,    &row.player, &row.lastMsg,
                                                         &row.address, &row.qport,  &row.rate};
        for (std::size_t c = 0; c < cells.size(); ++c) {
            m_listView3->setItem(static_cast<int>(r), static_cast<int>(c),
                                 new QTableWidgetItem(FromAnsi(*cells.at(c))));
        }
    }
    m_listView3->setSortingEnabled(true);
}

void PlayersListPage::Render() {
    m_bindings.Render();
    RenderTable();
}

}  // namespace zembrock
