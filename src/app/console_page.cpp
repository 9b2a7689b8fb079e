#include "app/console_page.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>

#include "app/ansi_text.h"
#include "app/colour_swatch.h"
#include "app/qt_colour.h"

namespace zembrock {

ConsolePage::ConsolePage(ColourChooser& chooser, ConsoleColours& colours, ProfileFields& fields,
                         ProfileFileSource profileFile, QWidget* parent)
    : QWidget(parent),
      m_chooser(chooser),
      m_colours(colours),
      m_fields(fields),
      m_profileFile(std::move(profileFile)),
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

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_text1, 0, 0, 1, 5);
    layout->addWidget(m_cmbSendCommand, 1, 0, 1, 5);
    layout->addWidget(new QLabel(QStringLiteral("Background:"), this), 2, 0);
    layout->addWidget(m_background, 2, 1);
    layout->addWidget(new QLabel(QStringLiteral("Font color:"), this), 2, 2);
    layout->addWidget(m_font, 2, 3);
    layout->setColumnStretch(4, 1);

    connect(m_background, &ColourSwatch::clicked, this, [this] { PickColour(ConsoleSwatch::Background); });
    connect(m_font, &ColourSwatch::clicked, this, [this] { PickColour(ConsoleSwatch::Font); });
    Render();
}

void ConsolePage::Render() {
    RenderColours();
    const QSignalBlocker blocker(m_cmbSendCommand);
    const QString typed = m_cmbSendCommand->currentText();
    m_cmbSendCommand->clear();
    for (const std::string& command : m_fields.commandHistory) {
        m_cmbSendCommand->addItem(FromAnsi(command));
    }
    m_cmbSendCommand->setEditText(typed);
}

void ConsolePage::RenderColours() {
    m_background->SetColour(m_colours.background);
    m_font->SetColour(m_colours.font);
    QPalette colours = m_text1->palette();
    colours.setColor(QPalette::Base, ToQColor(m_colours.background));
    colours.setColor(QPalette::Text, ToQColor(m_colours.font));
    m_text1->setPalette(colours);
}

void ConsolePage::PickColour(ConsoleSwatch swatch) {
    if (PickConsoleColour(m_chooser, m_colours, swatch, m_profileFile())) {
        RenderColours();
    }
}

}  // namespace zembrock
