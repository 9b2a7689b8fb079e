#pragma once

#include <QDialog>

#include "console/ban_list_editor.h"
#include "platform/dialogs.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace zembrock {

// The "Banlist" window (frmUnban): the server's permanent ban file as free text, searched,
// extended with an entry built from three fields, and written back. It reads the file again
// each time it opens and does not block the main window.
class BanListWindow : public QDialog {
    Q_OBJECT

public:
    BanListWindow(const std::filesystem::path& banFile, Dialogs& dialogs, QWidget* owner);

    BanListEditor& Editor() { return m_editor; }

private:
    void Render();
    // The window's text and caret back into the model before an operation reads them.
    void TakeEdits();

    BanListEditor m_editor;
    Dialogs& m_dialogs;
    QPlainTextEdit* m_richTextBox1;
    QLabel* m_label1;
    QLineEdit* m_text1;
    QLineEdit* m_text4;
    QLineEdit* m_text2;
    QLineEdit* m_text3;
};

}  // namespace zembrock
