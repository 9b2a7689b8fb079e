#pragma once

#include <QGroupBox>
#include <QStyle>

class QAbstractButton;
class QComboBox;
class QLabel;
class QListWidget;
class QToolButton;

namespace zembrock {

class Dialogs;
class MapListEditor;

// The "Map List Editor:" panel: renders a MapListEditor and forwards every pick and button
// press to it, asking its questions through the dialogs. It keeps no state of its own.
class MapListEditorPanel : public QGroupBox {
    Q_OBJECT

public:
    MapListEditorPanel(MapListEditor& editor, Dialogs& dialogs, QWidget* parent = nullptr);

    // Shows the editor's state again; call it after changing the editor from outside.
    void Render();

signals:
    // The administrator picked a map list in "Selected map list:" (and it was loaded).
    void mapListSelected();

private:
    QToolButton* PictureButton(const char* objectName, QStyle::StandardPixmap standardIcon,
                               const QString& toolTip);
    template <typename Operation>
    void Connect(QAbstractButton* button, Operation operation);
    void RenderLines();
    void RenderPreview();

    MapListEditor& m_editor;
    Dialogs& m_dialogs;
    QComboBox* m_combo2;
    QListWidget* m_list1;
    QComboBox* m_combo3;
    QComboBox* m_combo4;
    QComboBox* m_combo5;
    QLabel* m_image1;
};

}  // namespace zembrock
