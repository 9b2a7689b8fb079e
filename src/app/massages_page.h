#pragma once

#include <QWidget>

#include "messages/message_profiles.h"
#include "messages/message_rotation.h"
#include "platform/dialogs.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace zembrock {

// The "Massages" page: the broadcast messages in rotation order with their editor and colour
// codes, the message profile selector with "Save", "Save new" and "Delete", and the rotation's
// "Start", "Stop", progress bar and countdown.
class MassagesPage : public QWidget {
    Q_OBJECT

public:
    MassagesPage(MessageProfiles& profiles, MessageRotation& rotation, Dialogs& dialogs,
                 QWidget* parent = nullptr);

    void Render();
    // The rotation's progress, countdown and lock (after every tick, start and stop).
    void RenderRotation();

private:
    void RenderList();
    // An operation on the model, then everything shown again.
    void Act(const std::function<void()>& operation);

    MessageProfiles& m_profiles;
    MessageRotation& m_rotation;
    Dialogs& m_dialogs;
    QTableWidget* m_listView5;
    QComboBox* m_combo6;
    QLineEdit* m_txtMassage;
    QLineEdit* m_txtDelaymsg;
    QProgressBar* m_progressBar1;
    QLabel* m_label33;
    QPushButton* m_start;
    QPushButton* m_stop;
    std::vector<QWidget*> m_lockedWhileRunning;
};

}  // namespace zembrock
