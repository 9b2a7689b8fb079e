#include "app/qt_ports.h"

#include <QApplication>
#include <QColorDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "app/ansi_text.h"
#include "app/qt_colour.h"

namespace zembrock {
namespace {

QMessageBox::Icon ToQtIcon(DialogIcon icon) {
    switch (icon) {
        case DialogIcon::Warning:
            return QMessageBox::Warning;
        case DialogIcon::Critical:
            return QMessageBox::Critical;
        case DialogIcon::Information:
            break;
    }
    return QMessageBox::Information;
}

}  // namespace

QtTimer::QtTimer(std::function<void()> onTick) {
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, std::move(onTick));
}

void QtTimer::Start(std::uint32_t intervalMs) {
    m_timer.start(static_cast<int>(intervalMs));
}

void QtTimer::Stop() {
    m_timer.stop();
}

void QtEventPump::PumpOnce() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool QtDialogs::AskYesNo(const std::string& title, const std::string& text, DialogIcon icon) {
    QMessageBox box(ToQtIcon(icon), FromAnsi(title), FromAnsi(text), QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    return box.exec() == QMessageBox::Yes;
}

void QtDialogs::ShowMessage(const std::string& title, const std::string& text, DialogIcon icon) {
    QMessageBox box(ToQtIcon(icon), FromAnsi(title), FromAnsi(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

std::optional<std::string> QtDialogs::AskText(const std::string& title, const std::string& prompt,
                                              const std::string& initial) {
    bool confirmed = false;
    const QString answer =
        QInputDialog::getText(QApplication::activeWindow(), FromAnsi(title), FromAnsi(prompt),
                              QLineEdit::Normal, FromAnsi(initial), &confirmed);
    if (!confirmed) {
        return std::nullopt;
    }
    return ToAnsi(answer);
}

std::optional<Colour> QtDialogs::ChooseColour(Colour initial, std::array<Colour, kCustomColourCount>& custom,
                                              bool fullOpen) {
    // Qt's dialog always shows its custom colours; fullOpen has nothing more to open.
    static_cast<void>(fullOpen);
    for (std::size_t i = 0; i < custom.size(); ++i) {
        QColorDialog::setCustomColor(static_cast<int>(i), ToQColor(custom.at(i)));
    }
    QColorDialog dialog(ToQColor(initial), QApplication::activeWindow());
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    for (std::size_t i = 0; i < custom.size(); ++i) {
        custom.at(i) = FromQColor(QColorDialog::customColor(static_cast<int>(i)));
    }
    if (!confirmed) {
        return std::nullopt;
    }
    return FromQColor(dialog.selectedColor());
}

}  // namespace zembrock
