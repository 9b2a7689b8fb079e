#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "core/chooser.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace zembrock {

// Ties a page's controls to the model fields they show: an edit by the administrator is written
// into the field at once, and Render() shows every field again with the controls' signals
// blocked, so that rendering never counts as an edit.
class FieldBindings {
public:
    using Handler = std::function<void()>;

    // A one-line field; maxLength 0 means no limit.
    QLineEdit* Text(QWidget* parent, const char* objectName, std::string& field, int maxLength = 0,
                    Handler onEdit = {});
    // A pick-only chooser; onPick runs after the pick is stored.
    QComboBox* Choice(QWidget* parent, const char* objectName, Chooser& chooser, Handler onPick = {});
    QCheckBox* Check(QWidget* parent, const char* objectName, const QString& caption, bool& field,
                     Handler onToggle = {});

    void Render() const;

private:
    std::vector<std::function<void()>> m_renderers;
};

// Shows a chooser's entries and selection in a combo box, without emitting its signals.
void RenderChooser(QComboBox* box, const Chooser& chooser);

// A push button with its caption and object name.
QPushButton* MakeButton(const char* caption, const char* objectName, QWidget* parent);

// Drops typed characters that are not among `allowed`; editing keys, shortcuts (copy, cut,
// paste) and navigation pass.
void AllowOnlyCharacters(QLineEdit* field, const QString& allowed);

}  // namespace zembrock
