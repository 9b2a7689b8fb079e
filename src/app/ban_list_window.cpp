#include "app/ban_list_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QVBoxLayout>

#include "app/ansi_text.h"
#include "app/field_bindings.h"

namespace zembrock {
namespace {

QLineEdit* Field(const char* objectName, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(objectName));
    return field;
}

}  // namespace

BanListWindow::BanListWindow(const std::filesystem::path& banFile, Dialogs& dialogs, QWidget* owner)
    : QDialog(owner, Qt::Tool),
      m_editor(banFile),
      m_dialogs(dialogs),
      m_richTextBox1(new QPlainTextEdit(this)),
      m_label1(new QLabel(this)),
      m_text1(Field("Text1", this)),
      m_text4(Field("Text4", this)),
      m_text2(Field("Text2", this)),
      m_text3(Field("Text3", this)) {
    setObjectName(QStringLiteral("frmUnban"));
    setWindowTitle(QStringLiteral("Banlist"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    m_richTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    m_label1->setObjectName(QStringLiteral("Label1"));
    auto* find = MakeButton("Find", "isButton12", this);
    auto* reload = MakeButton("Reload", "isButton1", this);
    auto* save = MakeButton("Save", "isButton2", this);
    auto* addNew = MakeButton("Add new", "isButton3", this);
    auto* close = MakeButton("Close", "isButton4", this);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(m_text1, 1);
    searchRow->addWidget(find);
    auto* entry = new QGridLayout;
    entry->addWidget(new QLabel(QStringLiteral("Name:"), this), 0, 0);
    entry->addWidget(m_text4, 0, 1);
    entry->addWidget(new QLabel(QStringLiteral("HWID:"), this), 1, 0);
    entry->addWidget(m_text2, 1, 1);
    entry->addWidget(new QLabel(QStringLiteral("IP:"), this), 2, 0);
    entry->addWidget(m_text3, 2, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {reload, save, addNew, close}) {
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_richTextBox1, 1);
    layout->addWidget(m_label1);
    layout->addLayout(searchRow);
    layout->addLayout(entry);
    layout->addLayout(buttons);
    setFixedSize(520, 480);

    connect(find, &QPushButton::clicked, this, [this] {
        TakeEdits();
        m_editor.Find(ToAnsi(m_text1->text()));
        Render();
    });
    connect(m_text1, &QLineEdit::returnPressed, find, &QPushButton::click);
    connect(reload, &QPushButton::clicked, this, [this] {
        m_editor.Reload();
        Render();
    });
    connect(save, &QPushButton::clicked, this, [this, save] {
        TakeEdits();
        save->setEnabled(false);
        m_editor.Save(m_dialogs);
        save->setEnabled(true);
    });
    connect(addNew, &QPushButton::clicked, this, [this] {
        TakeEdits();
        m_editor.AddNew(ToAnsi(m_text4->text()), ToAnsi(m_text2->text()), ToAnsi(m_text3->text()), m_dialogs);
        Render();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    m_editor.Load();
    Render();
}

void BanListWindow::TakeEdits() {
    m_editor.SetText(
        ToAnsi(m_richTextBox1->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"))));
    const QTextCursor cursor = m_richTextBox1->textCursor();
    // The view counts a line break as one character, the file as two (CR LF).
    const QString before = m_richTextBox1->toPlainText().left(cursor.selectionStart());
    const auto start = static_cast<std::size_t>(before.size() + before.count(QLatin1Char('\n')));
    const auto length = static_cast<std::size_t>(cursor.selectionEnd() - cursor.selectionStart());
    m_editor.SetSelection(TextRange{start, length});
}

void BanListWindow::Render() {
    const QSignalBlocker blocker(m_richTextBox1);
    const QString text = FromAnsi(m_editor.Text());
    m_richTextBox1->setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    const auto toView = [&text](std::size_t position) {
        // File positions count CR LF as two characters; the view shows one line break.
        const QString head = text.left(static_cast<qsizetype>(position));
        return static_cast<int>(position) - static_cast<int>(head.count(QStringLiteral("\r\n")));
    };
    for (const TextRange& underline : m_editor.Underlines()) {
        QTextCursor cursor(m_richTextBox1->document());
        cursor.setPosition(toView(underline.start));
        cursor.setPosition(toView(underline.start + underline.length), QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setFontUnderline(true);
        cursor.mergeCharFormat(format);
    }
    QTextCursor caret(m_richTextBox1->document());
    const TextRange selection = m_editor.Selection();
    caret.setPosition(toView(selection.start));
    caret.setPosition(toView(selection.start + selection.length), QTextCursor::KeepAnchor);
    m_richTextBox1->setTextCursor(caret);
    m_label1->setText(FromAnsi(m_editor.StatusText()));
}

}  // namespace zembrock
