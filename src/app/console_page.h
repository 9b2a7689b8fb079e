#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>

#include "core/colour_chooser.h"

class QPlainTextEdit;

namespace zembrock {

class ColourSwatch;

// The "Console" page: the mirror of the server's console and the two colour swatches
// "Background:" (lblColor_0) and "Font color:" (lblColor_1) that colour it.
class ConsolePage : public QWidget {
    Q_OBJECT

public:
    using ProfileFileSource = std::function<std::filesystem::path()>;

    ConsolePage(ColourChooser& chooser, ConsoleColours& colours, ProfileFileSource profileFile,
                QWidget* parent = nullptr);

    // Shows the colours of the model on the swatches and the mirror.
    void RenderColours();

private:
    void PickColour(ConsoleSwatch swatch);

    ColourChooser& m_chooser;
    ConsoleColours& m_colours;
    ProfileFileSource m_profileFile;
    QPlainTextEdit* m_text1;
    ColourSwatch* m_background;
    ColourSwatch* m_font;
};

}  // namespace zembrock
