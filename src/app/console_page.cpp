#include "app/console_page.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/ansi_text.h"
#include "app/colour_swatch.h"
#include "app/field_bindings.h"
#include "app/qt_colour.h"

namespace zembrock {
ConsolePage::ConsolePage(Models models, QWidget* parent)
    : QWidget(parent),
      m_models(std::move(models)),
      m_text1(new QPlainTextEdit(this)),
      m_cmbSendCommand(new QComboBox(this)),
      m_background(new ColourSwatch(this)),
      m_font(new ColourSwatch(this)) {
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setReadOnly(true);
    m_text1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_cmbSendCommand->setObjectName(QStringLiteral("cmbSendCommand"));
    m_cmbSendCommand->setEditable(true);
    m_cmbSendCommand->setInsertPolicy(QComboBox::NoInsert);
    m_background->setObjectName(QStringLiteral("lblColor_0"));
    m_font->setObjectName(QStringLiteral("lblColor_1"));

    auto* send = MakeButton("Send", "cmdSendCommand", this);
    auto* refresh = MakeButton("Refresh", "cmdRefreshConsole", this);
    auto* clear = MakeButton("Clear console", "cmdClearConsole", this);
    auto* hide = MakeButton("Hide", "cmdHide", this);
    auto* show = MakeButton("Show", "cmdShow", this);
    auto* mapRestart = MakeButton("Map restart", "cmdMapRestart_0", this);
    auto* fastRestart = MakeButton("Fast restart", "cmdMapRestart_1", this);

    auto* commandRow = new QHBoxLayout;
    commandRow->addWidget(m_cmbSendCommand, 1);
    commandRow->addWidget(send);
    auto* buttonRow = new QHBoxLayout;
    for (QWidget* widget :
         std::initializer_list<QWidget*>{refresh, clear, hide, show, mapRestart, fastRestart}) {
        buttonRow->addWidget(widget);
    }
    buttonRow->addStretch();
    buttonRow->addWidget(new QLabel(QStringLiteral("Background:"), this));
    buttonRow->addWidget(m_background);
    buttonRow->addWidget(new QLabel(QStringLiteral("Font color:"), this));
    buttonRow->addWidget(m_font);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text1, 1);
    layout->addLayout(commandRow);
    layout->addLayout(buttonRow);

    ConsoleBridge& console = m_models.console;
    connect(send, &QPushButton::clicked, this, &ConsolePage::Send);
    connect(m_cmbSendCommand->lineEdit(), &QLineEdit::returnPressed, this, &ConsolePage::Send);
    connect(refresh, &QPushButton::clicked, this, [&console] { console.Refresh(); });
    connect(clear, &QPushButton::clicked, this, [&console] { console.Clear(); });
    connect(hide, &QPushButton::clicked, this, [this] { m_models.supervisor.ShowConsole(false); });
    connect(show, &QPushButton::clicked, this, [this] { m_models.supervisor.ShowConsole(true); });
    connect(mapRestart, &QPushButton::clicked, this, [&console] { console.SendRestart(0); });
    connect(fastRestart, &QPushButton::clicked, this, [&console] { console.SendRestart(1); });
    connect(m_background, &ColourSwatch::clicked, this, [this] { PickColour(ConsoleSwatch::Background); });
    connect(m_font, &ColourSwatch::clicked, this, [this] { PickColour(ConsoleSwatch::Font); });
    Render();
}

void ConsolePage::Render() {
    RenderColours();
    RenderHistory();
    RenderMirror();
}

void ConsolePage::RenderMirror() {
    const QString text = FromAnsi(m_models.console.MirrorText());
    if (m_text1->toPlainText() == text) {
        return;
    }
    m_text1->setPlainText(text);
    m_text1->moveCursor(QTextCursor::End);
}

void ConsolePage::RenderHistory() {
    const QSignalBlocker blocker(m_cmbSendCommand);
    const QString typed = m_cmbSendCommand->currentText();
    m_cmbSendCommand->clear();
    for (const std::string& command : m_models.fields.commandHistory) {
        m_cmbSendCommand->addItem(FromAnsi(command));
    }
    m_cmbSendCommand->setEditText(typed);
}

void ConsolePage::Send() {
    const std::string command = ToAnsi(m_cmbSendCommand->currentText());
    if (command.empty()) {
        return;
    }
    m_cmbSendCommand->setEditText(QString());
    m_models.console.Send(command);
    RenderHistory();
}

void ConsolePage::RenderColours() {
    m_background->SetColour(m_models.colours.background);
    m_font->SetColour(m_models.colours.font);
    QPalette colours = m_text1->palette();
    colours.setColor(QPalette::Base, ToQColor(m_models.colours.background));
    colours.setColor(QPalette::Text, ToQColor(m_models.colours.font));
    m_text1->setPalette(colours);
}

void ConsolePage::PickColour(ConsoleSwatch swatch) {
    if (PickConsoleColour(m_models.colourChooser, m_models.colours, swatch, m_models.profileFile())) {
        RenderColours();
    }
}

}  // namespace zembrock
