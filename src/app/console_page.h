#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>

#include "core/colour_chooser.h"
#include "profiles/profile_fields.h"

class QComboBox;
class QPlainTextEdit;

namespace zembrock {

class ColourSwatch;

// The "Console" page: the mirror of the server's console and the two colour swatches
// "Background:" (lblColor_0) and "Font color:" (lblColor_1) that colour it.
class ConsolePage : public QWidget {
    Q_OBJECT

public:
    using ProfileFileSource = std::function<std::filesystem::path()>;

    ConsolePage(ColourChooser& chooser, ConsoleColours& colours, ProfileFields& fields,
                ProfileFileSource profileFile, QWidget* parent = nullptr);

    // Shows the colours and the command history of the models.
    void Render();

private:
    void PickColour(ConsoleSwatch swatch);
    void RenderColours();

    ColourChooser& m_chooser;
    ConsoleColours& m_colours;
    ProfileFields& m_fields;
    ProfileFileSource m_profileFile;
    QPlainTextEdit* m_text1;
    QComboBox* m_cmbSendCommand;
    ColourSwatch* m_background;
    ColourSwatch* m_font;
};

}  // namespace zembrock
