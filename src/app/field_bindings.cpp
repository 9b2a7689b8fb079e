#include "app/field_bindings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/ansi_text.h"

namespace zembrock {
namespace {

// Filters the keys typed into one field.
class CharacterFilter : public QObject {
public:
    CharacterFilter(QString allowed, QObject* parent) : QObject(parent), m_allowed(std::move(allowed)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (const auto* key = event->type() == QEvent::KeyPress ? dynamic_cast<QKeyEvent*>(event) : nullptr) {
            const QString text = key->text();
            const bool printable = text.size() == 1 && text.at(0).isPrint();
            if (printable && !key->modifiers().testFlag(Qt::ControlModifier) &&
                !m_allowed.contains(text.at(0))) {
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QString m_allowed;
};

}  // namespace

QLineEdit* FieldBindings::Text(QWidget* parent, const char* objectName, std::string& field, int maxLength,
                               Handler onEdit) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(objectName));
    if (maxLength > 0) {
        edit->setMaxLength(maxLength);
    }
    QObject::connect(edit, &QLineEdit::textChanged, edit,
                     [&field, onEdit = std::move(onEdit)](const QString& text) {
                         field = ToAnsi(text);
                         if (onEdit) {
                             onEdit();
                         }
                     });
    m_renderers.emplace_back([edit, &field] {
        const QSignalBlocker blocker(edit);
        edit->setText(FromAnsi(field));
    });
    return edit;
}

QComboBox* FieldBindings::Choice(QWidget* parent, const char* objectName, Chooser& chooser, Handler onPick) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(objectName));
    QObject::connect(box, &QComboBox::activated, box, [&chooser, onPick = std::move(onPick)](int index) {
        chooser.SelectIndex(index);
        if (onPick) {
            onPick();
        }
    });
    m_renderers.emplace_back([box, &chooser] { RenderChooser(box, chooser); });
    return box;
}

QCheckBox* FieldBindings::Check(QWidget* parent, const char* objectName, const QString& caption, bool& field,
                                Handler onToggle) {
    auto* check = new QCheckBox(caption, parent);
    check->setObjectName(QLatin1String(objectName));
    QObject::connect(check, &QCheckBox::toggled, check, [&field, onToggle = std::move(onToggle)](bool on) {
        field = on;
        if (onToggle) {
            onToggle();
        }
    });
    m_renderers.emplace_back([check, &field] {
        const QSignalBlocker blocker(check);
        check->setChecked(field);
    });
    return check;
}

void FieldBindings::Render() const {
    for (const auto& render : m_renderers) {
        render();
    }
}

void RenderChooser(QComboBox* box, const Chooser& chooser) {
    const QSignalBlocker blocker(box);
    box->clear();
    for (const std::string& entry : chooser.entries) {
        box->addItem(FromAnsi(entry));
    }
    box->setCurrentIndex(chooser.selected ? static_cast<int>(*chooser.selected) : -1);
}

QPushButton* MakeButton(const char* caption, const char* objectName, QWidget* parent) {
    auto* button = new QPushButton(QLatin1String(caption), parent);
    button->setObjectName(QLatin1String(objectName));
    return button;
}

void AllowOnlyCharacters(QLineEdit* field, const QString& allowed) {
    field->installEventFilter(new CharacterFilter(allowed, field));
}

}  // namespace zembrock
