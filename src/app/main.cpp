// Program entry: runs the frame until it closes. No table is opened here;
// each procedure opens what it needs. With --check FILE it checks a data file
// instead, without any window.
#include "app/catalogue.h"
#include "app/checkmode.h"
#include "forms/formwindow.h"
#include "platform/data/datafile.h"
#include "platform/help.h"
#include "platform/windows/procedure.h"
#include "shell/frame.h"
#include "shell/helpwindow.h"
#include "shell/restorebackup.h"

#include <QApplication>

#include <iostream>
#include <string_view>

int main(int argc, char *argv[])
{
    // Before any window exists: a check needs no display.
    if (argc > 1 && std::string_view(argv[1]) == "--check") {
        if (argc != 3) {
            std::cerr << "Usage: hearthkeep --check FILE\n";
            return 2;
        }
        return hk::runCheck(argv[2], std::cout);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Hearthkeep"));
    // Lets the desktop match windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("hearthkeep"));

    // The help pages stand in for the help file "HEARTHKP.HLP".
    hk::ProgramHelp help;
    hk::setHelpViewer(&help);

    // Lists reach their tables' forms through the form registry.
    hk::registerForms();
    // A restore cut off by a crash or a kill left a full copy of the data
    // file beside it.
    hk::RestoreBackup::removeLeftovers();

    auto frame = std::make_unique<hk::Main>(hk::programProcedures());
    hk::Procedure &main = *frame;
    QObject::connect(&main, &hk::Procedure::done, &app, &QApplication::quit);
    hk::start(std::move(frame));
    const int status = QApplication::exec();
    // However the loop ended, nothing half-done or left over stays in the file.
    hk::DataFile::program().shutdown();
    hk::setHelpViewer(nullptr);
    return status;
}
