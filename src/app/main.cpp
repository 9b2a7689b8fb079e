// The program's entry point: resolves the program's folder, wires the system's backends into
// the application and runs the start-up sequence.

#include <QApplication>
#include <QStringList>
#include <string>
#include <vector>

#include "app/ansi_text.h"
#include "app/application.h"
#include "app/main_window.h"
#include "app/screenshots.h"
#include "core/command_line.h"
#include "core/program_folder.h"
#include "platform/program_location.h"

int main(int argc, char* argv[]) {
    QApplication qtApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zembrock-launcher"));
    QApplication::setQuitOnLastWindowClosed(true);
    zembrock::SetProgramFolder(zembrock::ResolveProgramFolder(zembrock::ExecutableFolder()));

    std::vector<std::string> arguments;
    const QStringList qtArguments = QApplication::arguments();
    for (qsizetype i = 1; i < qtArguments.size(); ++i) {
        arguments.push_back(zembrock::ToAnsi(qtArguments.at(i)));
    }

    zembrock::Application application(zembrock::SystemPorts());
    if (application.Start(zembrock::ArgumentText(arguments)) == zembrock::StartupOutcome::Declined) {
        return 0;
    }
    const QString screenshotPrefix = qEnvironmentVariable(zembrock::kScreenshotVariable);
    if (!screenshotPrefix.isEmpty()) {
        zembrock::TakeScreenshotsAndQuit(application.Window(), screenshotPrefix);
    }
    return QApplication::exec();
}
