#include "InstallDialog.h"
#include "InstallerPrompts.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The installer ends when its dialog is done and no release notes are open any longer,
    // not when the dialog alone closes.
    app.setQuitOnLastWindowClosed(false);

    MessageBoxPrompts prompts;
    InstallerServices services;
    // The installation set is the folder the installer was started from.
    services.setDirectory = QCoreApplication::applicationDirPath();
    services.prompts = &prompts;

    InstallDialog dialog(services);
    int result = InstallDialog::kExitResult;
    QObject::connect(&dialog, &InstallDialog::InstallerFinished, &app, [&result](int finished) {
        result = finished;
        QCoreApplication::quit();
    });
    if (!dialog.LoadProgramFolders()) {
        return InstallDialog::kExitResult;
    }
    dialog.show();
    app.exec();
    // 0 installed, 1 failed, 2 left without installing.
    return result == InstallDialog::kFailedResult ? 1 : result;
}
