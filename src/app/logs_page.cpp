#include "app/logs_page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextEdit>
#include <QVBoxLayout>

#include "app/ansi_text.h"
#include "app/qt_colour.h"

namespace zembrock {
namespace {

constexpr int kPrefixPointSize = 7;
constexpr int kTextPointSize = 9;

QTextCharFormat LogFormat(Colour colour, int pointSize) {
    QTextCharFormat format;
    format.setFontFamilies({QStringLiteral("Tahoma")});
    format.setFontPointSize(pointSize);
    format.setForeground(ToQColor(colour));
    return format;
}

}  // namespace

LogsPage::LogsPage(EventLog& log, ProfileFields& fields, PlayerLog& playerLog, QWidget* parent)
    : QWidget(parent),
      m_log(log),
      m_richLogBox(new QTextEdit(this)),
      m_chkLogSystem(new QCheckBox(QStringLiteral("System messages on change."), this)),
      m_txtmaxLog(new QLineEdit(FromAnsi(log.LimitText()), this)) {
    m_richLogBox->setObjectName(QStringLiteral("richLogBox"));
    m_richLogBox->setReadOnly(true);
    m_chkLogSystem->setObjectName(QStringLiteral("chkLogSystem"));
    m_txtmaxLog->setObjectName(QStringLiteral("txtmaxLog"));
    m_txtmaxLog->setMaximumWidth(60);

    auto* saveLogs = new QGroupBox(QStringLiteral("Save logs:"), this);
    auto* limitRow = new QHBoxLayout;
    limitRow->addWidget(new QLabel(QStringLiteral("Delete logs if bigger than"), saveLogs));
    limitRow->addWidget(m_txtmaxLog);
    limitRow->addWidget(new QLabel(QStringLiteral("Kb."), saveLogs));
    limitRow->addStretch();
    auto* minutes = m_bindings.Text(saveLogs, "txtLogMins", fields.logMins, 3, [this, &fields, &playerLog] {
        const std::string text = playerLog.MinutesChanged(fields.logMins);
        if (text != fields.logMins) {
            fields.logMins = text;
            m_bindings.Render();
        }
    });
    minutes->setMaximumWidth(40);
    AllowOnlyCharacters(minutes, QStringLiteral("0123456789"));
    auto* playerRow = new QHBoxLayout;
    playerRow->addWidget(m_bindings.Check(
        saveLogs, "chkLog", QStringLiteral("Player table every"), fields.logStatus,
        [&fields, &playerLog] { playerLog.LogBoxClicked(fields.logStatus, fields.logMins); }));
    playerRow->addWidget(minutes);
    playerRow->addWidget(new QLabel(QStringLiteral("Mins."), saveLogs));
    playerRow->addStretch();
    auto* saveLayout = new QVBoxLayout(saveLogs);
    saveLayout->addWidget(m_chkLogSystem);
    saveLayout->addLayout(playerRow);
    saveLayout->addLayout(limitRow);
    saveLayout->addStretch();

    auto* logColumn = new QVBoxLayout;
    logColumn->addWidget(new QLabel(QStringLiteral("System msg:"), this));
    logColumn->addWidget(m_richLogBox);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(logColumn, 3);
    layout->addWidget(saveLogs, 1);

    connect(m_chkLogSystem, &QCheckBox::toggled, this, [this](bool on) { m_log.SetFileLogging(on); });
    connect(m_txtmaxLog, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_log.SetLimitText(ToAnsi(text)); });
    for (const LogEntry& entry : log.Entries()) {
        RenderEntry(entry);
    }
    RenderFileLogging();
}

void LogsPage::EntryAppended(const LogEntry& entry) {
    RenderEntry(entry);
}

void LogsPage::RenderEntry(const LogEntry& entry) {
    QTextCursor cursor(m_richLogBox->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(FromAnsi(entry.Prefix()), LogFormat(kColourBlack, kPrefixPointSize));
    cursor.insertText(FromAnsi(entry.text) + QLatin1Char('\n'), LogFormat(entry.colour, kTextPointSize));
    m_richLogBox->verticalScrollBar()->setValue(m_richLogBox->verticalScrollBar()->maximum());
}

void LogsPage::FileLoggingChanged() {
    RenderFileLogging();
}

void LogsPage::Render() {
    m_bindings.Render();
    const QSignalBlocker blocker(m_txtmaxLog);
    m_txtmaxLog->setText(FromAnsi(m_log.LimitText()));
    RenderFileLogging();
}

void LogsPage::RenderFileLogging() {
    const QSignalBlocker blocker(m_chkLogSystem);
    m_chkLogSystem->setChecked(m_log.FileLogging());
    m_chkLogSystem->setEnabled(!m_log.Busy());
}

}  // namespace zembrock
