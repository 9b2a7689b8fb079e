#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>

#include "console/console_bridge.h"
#include "core/colour_chooser.h"
#include "profiles/profile_fields.h"
#include "server/server_supervisor.h"

class QComboBox;
class QPlainTextEdit;

namespace zembrock {

class ColourSwatch;

// The "Console" page: the mirror of the server's console, the command line with its history and
// the buttons that act on the console, and the two colour swatches "Background:" (lblColor_0)
// and "Font color:" (lblColor_1) that colour the mirror.
class ConsolePage : public QWidget {
    Q_OBJECT

public:
    using ProfileFileSource = std::function<std::filesystem::path()>;

    struct Models {
        ConsoleBridge& console;
        ServerSupervisor& supervisor;
        ColourChooser& colourChooser;
        ConsoleColours& colours;
        ProfileFields& fields;
        ProfileFileSource profileFile;
    };

    explicit ConsolePage(Models models, QWidget* parent = nullptr);

    // Shows the colours, the command history and the mirror of the models.
    void Render();
    // Shows the mirror's text again with the caret at its end (after the mirror changed).
    void RenderMirror();

private:
    void PickColour(ConsoleSwatch swatch);
    void RenderColours();
    void RenderHistory();
    void Send();

    Models m_models;
    QPlainTextEdit* m_text1;
    QComboBox* m_cmbSendCommand;
    ColourSwatch* m_background;
    ColourSwatch* m_font;
};

}  // namespace zembrock
