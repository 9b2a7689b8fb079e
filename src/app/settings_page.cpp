#include "app/settings_page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/ansi_text.h"
#include "server/respond_tries.h"

namespace zembrock {

SettingsPage::SettingsPage(ProfileFields& fields, ServerSession& session, Processes& processes, EventLog& log,
                           ProcessIdSource consoleProcess, QWidget* parent)
    : QWidget(parent),
      m_fields(fields),
      m_session(session),
      m_processes(processes),
      m_log(log),
      m_consoleProcess(std::move(consoleProcess)) {
    auto* console = new QGroupBox(QStringLiteral("Console:"), this);
    auto* tries = m_bindings.Text(console, "txtmaxRespondTrys", fields.respondTries);
    tries->setMaximumWidth(50);
    AllowOnlyCharacters(tries, QStringLiteral("0123456789."));
    auto* setTries = new QPushButton(QStringLiteral("Set"), console);
    setTries->setObjectName(QStringLiteral("cmdMaxResponds"));
    auto* triesRow = new QHBoxLayout;
    triesRow->addWidget(new QLabel(QStringLiteral("Respond retry's before restart in seconds:"), console));
    triesRow->addWidget(tries);
    triesRow->addWidget(setTries);
    triesRow->addStretch();

    auto* consoleLayout = new QVBoxLayout(console);
    consoleLayout->addWidget(m_bindings.Check(console, "chkAutostartmessages",
                                              QStringLiteral("Autostart messages with server."),
                                              fields.autostartMessages));
    consoleLayout->addWidget(m_bindings.Check(console, "chkStartHidden",
                                              QStringLiteral("Start window hidden."), fields.startHidden));
    consoleLayout->addLayout(triesRow);
    consoleLayout->addWidget(CoreFrame(AffinityTarget::Console), 1);

    auto* program = new QGroupBox(QStringLiteral("Program:"), this);
    auto* programLayout = new QVBoxLayout(program);
    programLayout->addWidget(CoreFrame(AffinityTarget::Program), 1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(console, 3);
    layout->addWidget(program, 2);

    connect(setTries, &QPushButton::clicked, this, [this] {
        if (const std::optional<std::int16_t> limit = ParseRespondTries(m_fields.respondTries)) {
            m_session.respondTries = *limit;
        }
    });
}

QWidget* SettingsPage::CoreFrame(AffinityTarget target) {
    const auto index = static_cast<std::size_t>(target);
    auto* frame = new QWidget(this);
    auto* list = new QListWidget(frame);
    list->setObjectName(QStringLiteral("CPUCores_%1").arg(index));
    m_coreLists.at(index) = list;
    auto* all = new QPushButton(QStringLiteral("All"), frame);
    all->setObjectName(QStringLiteral("allCores_%1").arg(index));
    auto* set = new QPushButton(QStringLiteral("Set"), frame);
    set->setObjectName(QStringLiteral("cmdSetAffinity_%1").arg(index));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(all);
    buttons->addWidget(set);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Multi-Cores CPU usage:"), frame));
    layout->addWidget(list, 1);
    layout->addLayout(buttons);

    connect(list, &QListWidget::itemChanged, this, [this, target](QListWidgetItem* item) {
        CoreList& cores = ListOf(target);
        const int row = item->listWidget()->row(item);
        if (row >= 0 && static_cast<std::size_t>(row) < cores.selected.size()) {
            cores.selected[static_cast<std::size_t>(row)] = item->checkState() == Qt::Checked;
        }
    });
    connect(all, &QPushButton::clicked, this, [this, target] {
        ListOf(target).SelectAll();
        RenderCores(target);
    });
    connect(set, &QPushButton::clicked, this, [this, target] {
        const std::uint32_t processId =
            target == AffinityTarget::Program ? m_processes.OwnProcessId() : m_consoleProcess();
        SetAffinity(ListOf(target), target, processId, m_processes, m_log);
        RenderCores(target);
    });
    return frame;
}

CoreList& SettingsPage::ListOf(AffinityTarget target) {
    return target == AffinityTarget::Console ? m_fields.consoleCores : m_fields.programCores;
}

void SettingsPage::RenderCores(AffinityTarget target) {
    QListWidget* list = m_coreLists.at(static_cast<std::size_t>(target));
    const CoreList& cores = ListOf(target);
    const QSignalBlocker blocker(list);
    list->clear();
    for (std::size_t i = 0; i < cores.entries.size(); ++i) {
        auto* item = new QListWidgetItem(FromAnsi(cores.entries[i]), list);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(cores.selected[i] ? Qt::Checked : Qt::Unchecked);
    }
}

void SettingsPage::Render() {
    m_bindings.Render();
    RenderCores(AffinityTarget::Console);
    RenderCores(AffinityTarget::Program);
}

}  // namespace zembrock
