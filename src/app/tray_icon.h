#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace zembrock {

// The icon in the notification area while the main window is minimised: tooltip, balloon,
// and the tray menu "traymenu" with "R&estore" and the exit item.
class TrayIcon : public QObject {
    Q_OBJECT

public:
    static constexpr int kBalloonMs = 2000;

    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    TrayIcon(TrayIcon&&) = delete;
    TrayIcon& operator=(TrayIcon&&) = delete;

    void SetUp(const QString& title, const QString& balloonText);
    void SetTooltip(const QString& tooltip);
    void SetBalloonText(const QString& text);
    QString BalloonText() const { return m_balloonText; }

    void Show();
    void Hide();
    bool IsShown() const;

    void SetExitCaption(const QString& caption);
    QString ExitCaption() const;

    QMenu* Menu() const { return m_menu; }
    QSystemTrayIcon* Icon() const { return m_icon; }

signals:
    void restoreRequested();
    void exitRequested();
    // The menu is about to pop up: its owner sets the exit item's caption now.
    void menuAboutToShow();

private:
    QSystemTrayIcon* m_icon;
    QMenu* m_menu;
    QAction* m_exit = nullptr;
    QString m_title;
    QString m_balloonText;
};

}  // namespace zembrock
