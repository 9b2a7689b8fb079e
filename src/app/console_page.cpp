#include "app/console_page.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>

#include "app/colour_swatch.h"
#include "app/qt_colour.h"

namespace zembrock {

ConsolePage::ConsolePage(ColourChooser& chooser, ConsoleColours& colours, ProfileFileSource profileFile,
                         QWidget* parent)
    : QWidget(parent),
      m_chooser(chooser),
      m_colours(colours),
      m_profileFile(std::move(profileFile)),
      m_text1(new QPlainTextEdit(this)),
      m_background(new ColourSwatch(this)),
      m_font(new ColourSwatch(this)) {
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setReadOnly(true);
    m_text1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_background->setObjectName(QStringLiteral("lblColor_0"));
    m_font->setObjectName(QStringLiteral("lblColor_1"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_text1, 0, 0, 1, 5);
    layout->addWidget(new QLabel(QStringLiteral("Background:"), this), 1, 0);
    layout->addWidget(m_background, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("Font color:"), this), 1, 2);
    layout->addWidget(m_font, 1, 3);
    layout->setColumnStretch(4, 1);

    connect(m_background, &ColourSwatch::clicked, this, [this] { PickColour(ConsoleSwatch::Background); });
    connect(m_font, &ColourSwatch::clicked, this, [this] { PickColour(ConsoleSwatch::Font); });
    RenderColours();
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
