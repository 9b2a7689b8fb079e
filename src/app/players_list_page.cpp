#include "app/players_list_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zembrock {

PlayersListPage::PlayersListPage(ProfileFields& fields, QWidget* parent) : QWidget(parent) {
    constexpr int kTempBanDigits = 4;
    auto* tempBan = m_bindings.Text(this, "txtTempBanTime", fields.tempBanTime, kTempBanDigits);
    tempBan->setMaximumWidth(50);
    tempBan->setToolTip(
        QStringLiteral("Time in seconds for a player temporary ban (on kick/tempban) (range 0 - 3600)"));
    AllowOnlyCharacters(tempBan, QStringLiteral("0123456789"));
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(new QLabel(QStringLiteral("TempBan Time:"), this));
    row->addWidget(tempBan);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addLayout(row);
}

}  // namespace zembrock
