#include "app/tray_icon.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

#include "app/app_icon.h"

namespace zembrock {

TrayIcon::TrayIcon(QObject* parent) : QObject(parent), m_icon(new QSystemTrayIcon(this)), m_menu(new QMenu) {
    m_menu->setObjectName(QStringLiteral("traymenu"));
    QAction* restore = m_menu->addAction(QStringLiteral("R&estore"));
    restore->setObjectName(QStringLiteral("mnuRestore"));
    m_menu->addSeparator();
    m_exit = m_menu->addAction(QStringLiteral("E&xit"));
    m_exit->setObjectName(QStringLiteral("mnuExit"));
    m_icon->setContextMenu(m_menu);

    connect(restore, &QAction::triggered, this, &TrayIcon::restoreRequested);
    connect(m_exit, &QAction::triggered, this, &TrayIcon::exitRequested);
    connect(m_menu, &QMenu::aboutToShow, this, &TrayIcon::menuAboutToShow);
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick) {
            emit restoreRequested();
        }
    });
}

// The menu has no parent widget (a tray menu belongs to no window), so it is deleted here.
TrayIcon::~TrayIcon() {
    delete m_menu;
}

void TrayIcon::SetUp(const QString& title, const QString& balloonText) {
    m_title = title;
    m_balloonText = balloonText;
    m_icon->setIcon(AppIcon());
    m_icon->setToolTip(title);
}

void TrayIcon::SetTooltip(const QString& tooltip) {
    m_icon->setToolTip(tooltip);
}

void TrayIcon::SetBalloonText(const QString& text) {
    m_balloonText = text;
}

void TrayIcon::SetExitCaption(const QString& caption) {
    m_exit->setText(caption);
}

QString TrayIcon::ExitCaption() const {
    return m_exit->text();
}

void TrayIcon::Show() {
    m_icon->show();
    if (QSystemTrayIcon::supportsMessages()) {
        m_icon->showMessage(m_title, m_balloonText, QSystemTrayIcon::Information, kBalloonMs);
    }
}

void TrayIcon::Hide() {
    m_icon->hide();
}

bool TrayIcon::IsShown() const {
    return m_icon->isVisible();
}

}  // namespace zembrock
