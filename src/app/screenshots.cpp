#include "app/screenshots.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QTimer>
#include <iostream>

#include "app/main_window.h"

namespace zembrock {
namespace {

bool Save(MainWindow& window, const QString& file) {
    QCoreApplication::processEvents();
    const bool saved = window.grab().save(file, "PNG");
    const QString path = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    (saved ? std::cout : std::cerr) << (saved ? "Saved " : "Could not save ") << path.toStdString()
                                    << std::endl;
    return saved;
}

}  // namespace

void TakeScreenshotsAndQuit(MainWindow& window, const QString& prefix) {
    constexpr int kSettleMs = 500;
    auto* timer = new QTimer(&window);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, &window, [&window, prefix] {
        QDir().mkpath(QFileInfo(prefix).absolutePath());
        if (window.IsExpanded()) {
            window.ToggleHeight();
        }
        bool saved = Save(window, prefix + QStringLiteral("-compact.png"));
        window.ToggleHeight();
        saved = Save(window, prefix + QStringLiteral("-expanded.png")) && saved;
        window.ShowLowerPage(QStringLiteral("pageLogs"));
        saved = Save(window, prefix + QStringLiteral("-logs.png")) && saved;
        QCoreApplication::exit(saved ? 0 : 1);
    });
    timer->start(kSettleMs);
}

}  // namespace zembrock
