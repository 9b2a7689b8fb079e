#include "app/massages_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

#include "app/ansi_text.h"
#include "app/field_bindings.h"
#include "app/qt_colour.h"

namespace zembrock {
namespace {

struct ColourCode {
    char digit;
    Colour colour;
};

// The colour buttons in their order, each drawn in the colour its code stands for.
constexpr std::array<ColourCode, 10> kColourCodes = {{{'1', 0x0000FF},
                                                      {'2', 0x00C000},
                                                      {'3', 0x00FFFF},
                                                      {'4', 0xFF0000},
                                                      {'5', 0xFFFF00},
                                                      {'6', 0xFF00FF},
                                                      {'7', 0xFFFFFF},
                                                      {'8', 0x668CA0},
                                                      {'9', 0x404040},
                                                      {'0', 0x000000}}};

}  // namespace

MassagesPage::MassagesPage(MessageProfiles& profiles, MessageRotation& rotation, Dialogs& dialogs,
                           QWidget* parent)
    : QWidget(parent),
      m_profiles(profiles),
      m_rotation(rotation),
      m_dialogs(dialogs),
      m_listView5(new QTableWidget(this)),
      m_combo6(new QComboBox(this)),
      m_txtMassage(new QLineEdit(this)),
      m_txtDelaymsg(new QLineEdit(this)),
      m_progressBar1(new QProgressBar(this)),
      m_label33(new QLabel(QLatin1String(kCountdownInitialText), this)),
      m_start(MakeButton("Start", "cmdStartMsgs", this)),
      m_stop(MakeButton("Stop", "cmdStopMsgs", this)) {
    m_listView5->setObjectName(QStringLiteral("ListView5"));
    m_listView5->setColumnCount(2);
    m_listView5->setHorizontalHeaderLabels({QStringLiteral("Message"), QStringLiteral("Delay (Sec)")});
    m_listView5->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_listView5->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_listView5->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_listView5->setShowGrid(true);
    m_listView5->verticalHeader()->hide();
    m_listView5->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_combo6->setObjectName(QStringLiteral("Combo6"));
    m_txtMassage->setObjectName(QStringLiteral("txtMassage"));
    m_txtDelaymsg->setObjectName(QStringLiteral("txtDelaymsg"));
    m_txtDelaymsg->setMaxLength(static_cast<int>(kDelayMaxLength));
    m_txtDelaymsg->setMaximumWidth(60);
    AllowOnlyCharacters(m_txtDelaymsg, QStringLiteral("0123456789"));
    m_progressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar1->setTextVisible(false);
    m_label33->setObjectName(QStringLiteral("Label33"));
    m_label33->setMinimumWidth(80);

    auto* save = MakeButton("Save", "cmdSaveMsgProfile", this);
    auto* saveNew = MakeButton("Save new", "cmdSaveNewMsgProfile", this);
    auto* remove = MakeButton("Delete", "cmdDeleteMsgProfile", this);
    auto* addNew = MakeButton("Add new", "cmdAddNewmsg", this);
    auto* update = MakeButton("Update selected", "cmdUpdateMsg", this);
    auto* removeRow = MakeButton("Remove", "cmdRemovemsg", this);
    auto* clear = MakeButton("Clear", "cmdClearMsg", this);
    auto* up = MakeButton("Up", "cmdMoveUpmsg", this);
    auto* down = MakeButton("Down", "cmdMoveDownmsg", this);
    m_lockedWhileRunning = {m_listView5, m_combo6,  save,  saveNew, remove, addNew,
                            update,      removeRow, clear, up,      down};

    auto* rotationRow = new QHBoxLayout;
    rotationRow->addWidget(m_start);
    rotationRow->addWidget(m_stop);
    rotationRow->addWidget(m_progressBar1, 1);
    rotationRow->addWidget(m_label33);
    auto* profileRow = new QHBoxLayout;
    profileRow->addWidget(new QLabel(QStringLiteral("Profile:"), this));
    profileRow->addWidget(m_combo6, 1);
    profileRow->addWidget(save);
    profileRow->addWidget(saveNew);
    profileRow->addWidget(remove);
    auto* colours = new QHBoxLayout;
    colours->setSpacing(2);
    for (std::size_t i = 0; i < kColourCodes.size(); ++i) {
        const ColourCode code = kColourCodes.at(i);
        auto* button = new QPushButton(QStringLiteral(" ^") + QLatin1Char(code.digit), this);
        button->setObjectName(QStringLiteral("lblMsgColor_%1").arg(i));
        button->setFixedWidth(34);
        button->setStyleSheet(
            QStringLiteral("QPushButton { background: #c0c0c0; color: %1; font-weight: bold; }")
                .arg(ToQColor(code.colour).name()));
        connect(button, &QPushButton::clicked, this, [this, code] {
            const auto caret = static_cast<std::size_t>(m_txtMassage->cursorPosition());
            m_profiles.SetEditMessage(ToAnsi(m_txtMassage->text()));
            const std::size_t after = m_profiles.InsertColour(code.digit, caret);
            m_txtMassage->setText(FromAnsi(m_profiles.EditMessage()));
            m_txtMassage->setCursorPosition(static_cast<int>(after));
            m_txtMassage->setFocus();
        });
        colours->addWidget(button);
    }
    colours->addStretch();
    auto* editor = new QGridLayout;
    editor->addWidget(new QLabel(QStringLiteral("Edit message:"), this), 0, 0);
    editor->addLayout(colours, 0, 1, 1, 3);
    editor->addWidget(m_txtMassage, 1, 0, 1, 2);
    editor->addWidget(new QLabel(QStringLiteral("Delay (sec):"), this), 1, 2);
    editor->addWidget(m_txtDelaymsg, 1, 3);
    editor->setColumnStretch(1, 1);
    auto* commands = new QHBoxLayout;
    for (QPushButton* button : {addNew, update, removeRow, clear, up, down}) {
        commands->addWidget(button);
    }
    commands->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rotationRow);
    layout->addWidget(m_listView5, 1);
    layout->addLayout(profileRow);
    layout->addLayout(editor);
    layout->addLayout(commands);

    connect(m_txtMassage, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_profiles.SetEditMessage(ToAnsi(text)); });
    connect(m_txtDelaymsg, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_profiles.SetEditDelay(ToAnsi(text)); });
    connect(m_listView5, &QTableWidget::itemSelectionChanged, this, [this] {
        std::vector<std::size_t> rows;
        for (const QModelIndex& index : m_listView5->selectionModel()->selectedRows()) {
            rows.push_back(static_cast<std::size_t>(index.row()));
        }
        m_profiles.SetSelection(rows);
    });
    connect(m_listView5, &QTableWidget::cellDoubleClicked, this, [this] {
        m_profiles.CopyCurrentRowToEditor();
        Render();
    });
    connect(m_combo6, &QComboBox::activated, this, [this](int index) {
        Act([this, index] { m_profiles.SelectProfile(static_cast<std::size_t>(index)); });
    });
    connect(save, &QPushButton::clicked, this, [this] { Act([this] { m_profiles.Save(m_dialogs); }); });
    connect(saveNew, &QPushButton::clicked, this, [this] { Act([this] { m_profiles.SaveNew(m_dialogs); }); });
    connect(remove, &QPushButton::clicked, this, [this] { Act([this] { m_profiles.Delete(); }); });
    connect(addNew, &QPushButton::clicked, this, [this] { Act([this] { m_profiles.AddNew(); }); });
    connect(update, &QPushButton::clicked, this, [this] { Act([this] { m_profiles.UpdateSelected(); }); });
    connect(removeRow, &QPushButton::clicked, this, [this] { Act([this] { m_profiles.RemoveSelected(); }); });
    connect(clear, &QPushButton::clicked, this, [this] { Act([this] { m_profiles.Clear(); }); });
    connect(up, &QPushButton::clicked, this, [this] { Act([this] { m_profiles.MoveUp(); }); });
    connect(down, &QPushButton::clicked, this, [this] { Act([this] { m_profiles.MoveDown(); }); });
    connect(m_start, &QPushButton::clicked, this, [this] { Act([this] { m_rotation.StartRotation(); }); });
    connect(m_stop, &QPushButton::clicked, this, [this] { Act([this] { m_rotation.StopRotation(); }); });
    Render();
}

void MassagesPage::Act(const std::function<void()>& operation) {
    operation();
    Render();
}

void MassagesPage::RenderList() {
    const QSignalBlocker blocker(m_listView5);
    const std::vector<MessageRow>& rows = m_profiles.Rows();
    const std::vector<bool>& selected = m_profiles.Selected();
    m_listView5->clearSelection();
    m_listView5->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        m_listView5->setItem(static_cast<int>(r), 0, new QTableWidgetItem(FromAnsi(rows[r].message)));
        m_listView5->setItem(static_cast<int>(r), 1, new QTableWidgetItem(FromAnsi(rows[r].delay)));
    }
    for (std::size_t r = 0; r < rows.size() && r < selected.size(); ++r) {
        if (selected[r]) {
            m_listView5->selectionModel()->select(m_listView5->model()->index(static_cast<int>(r), 0),
                                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
}

void MassagesPage::Render() {
    RenderList();
    RenderChooser(m_combo6, m_profiles.Profiles());
    const QSignalBlocker messageBlocker(m_txtMassage);
    const QSignalBlocker delayBlocker(m_txtDelaymsg);
    if (ToAnsi(m_txtMassage->text()) != m_profiles.EditMessage()) {
        m_txtMassage->setText(FromAnsi(m_profiles.EditMessage()));
    }
    if (ToAnsi(m_txtDelaymsg->text()) != m_profiles.EditDelay()) {
        m_txtDelaymsg->setText(FromAnsi(m_profiles.EditDelay()));
    }
    RenderRotation();
}

void MassagesPage::RenderRotation() {
    const RotationDisplay& display = m_rotation.Display();
    m_progressBar1->setMaximum(std::max(display.progressMaximum, 1));
    m_progressBar1->setValue(std::min(display.progressValue, m_progressBar1->maximum()));
    m_label33->setText(FromAnsi(display.countdown));
    const bool running = m_rotation.Running();
    m_start->setEnabled(!running);
    m_stop->setEnabled(running);
    for (QWidget* widget : m_lockedWhileRunning) {
        widget->setEnabled(!running);
    }
}

}  // namespace zembrock
