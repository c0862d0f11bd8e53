#include "InstallDialog.h"

#include "InstallPaths.h"
#include "Installation.h"
#include "ProgressWindow.h"
#include "ReleaseNotesWindow.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <utility>

namespace {

const QString kTitle = QStringLiteral("Brickhaven Installation");

QLabel* WrappedLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

bool RunProgramAndWait(const QString& program, const QString& workingDirectory) {
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, {});
    if (!process.waitForStarted(-1)) {
        return false;
    }
    process.waitForFinished(-1);
    return true;
}

InstallDialog::InstallDialog(InstallerServices services, QWidget* parent)
    : QDialog(parent), services_(std::move(services)), destination_(new QLineEdit(this)),
      folder_(new QComboBox(this)),
      install_(new QPushButton(QStringLiteral("&Install Brickhaven"), this)),
      exit_(new QPushButton(QStringLiteral("Exit Installation"), this)),
      progress_(new ProgressWindow(this)) {
    if (!services_.runAndWait) {
        services_.runAndWait = RunProgramAndWait;
    }
    setWindowTitle(kTitle);
    setWindowIcon(QIcon::fromTheme(QStringLiteral("system-software-install"),
                                   style()->standardIcon(QStyle::SP_DriveHDIcon)));

    folder_->setEditable(true);
    // Enter accepts the typed name as it is and presses the default button.
    folder_->setInsertPolicy(QComboBox::NoInsert);
    install_->setDefault(true);
    install_->setAutoDefault(true);
    exit_->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(WrappedLabel(
        QStringLiteral("This program will install Brickhaven on your system and create program "
                       "shortcuts in the Start menu. Enter the information below, and press the "
                       "Install Brickhaven button to make it so!"),
        this));
    layout->addWidget(WrappedLabel(QStringLiteral("1. Enter the directory you want to install "
                                                  "Brickhaven in, or press ENTER to accept the "
                                                  "default:"),
                                   this));
    layout->addWidget(destination_);
    layout->addWidget(
        WrappedLabel(QStringLiteral("2. Select a Program folder to create the Brickhaven icons in, "
                                    "or type a new folder name. You can press ENTER to accept "
                                    "the default:"),
                     this));
    layout->addWidget(folder_);
    layout->addSpacing(8);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(install_);
    buttons->addWidget(exit_);
    layout->addLayout(buttons);
    setMinimumWidth(480);

    destination_->setText(DefaultDestination());
    folder_->setEditText(QStringLiteral("Brickhaven"));

    connect(install_, &QPushButton::clicked, this, &InstallDialog::Install);
    connect(exit_, &QPushButton::clicked, this, &InstallDialog::reject);
}

bool InstallDialog::LoadProgramFolders() {
    programsDirectory_ = ProgramsDirectory();
    // A fresh account may not have the folder yet; a desktop makes it when it first needs it.
    if (!QFileInfo::exists(programsDirectory_)) {
        CreateDirectoryWithParents(programsDirectory_);
    }
    const std::optional<QStringList> folders = ListProgramFolders(programsDirectory_);
    if (!folders) {
        services_.prompts->Message(this, InstallerPrompts::Icon::Error, kTitle,
                                   QStringLiteral("I couldn't read the Programs Directory."));
        Finish(kExitResult);
        return false;
    }
    const QString typed = folder_->currentText();
    folder_->clear();
    folder_->addItems(*folders);
    folder_->setEditText(typed);
    return true;
}

void InstallDialog::Install() {
    if (programsDirectory_.isEmpty()) {
        programsDirectory_ = ProgramsDirectory();
    }
    const QString destination = DestinationFromText(destination_->text());
    const QString shortcutFolder =
        ShortcutFolderFromText(programsDirectory_, folder_->currentText());

    Installation installation(services_.setDirectory, services_.freeSpace, *progress_);
    const InstallResult result = installation.Run(destination, shortcutFolder);
    if (result == InstallFailed) {
        ShowError(installation.ErrorText());
        done(kFailedResult);
        services_.prompts->Message(nullptr, InstallerPrompts::Icon::Error, kTitle,
                                   QStringLiteral("The installation could not be completed."));
        Finish(kFailedResult);
        return;
    }
    if (result == InstallRetry) {
        ShowError(installation.ErrorText());
        return;
    }

    for (const QString& failure : installation.LinkFailures()) {
        services_.prompts->Message(this, InstallerPrompts::Icon::Warning, QStringLiteral("Error"),
                                   failure);
    }
    services_.prompts->Message(
        this, InstallerPrompts::Icon::Information, kTitle,
        QStringLiteral("The installation is complete. To run Brickhaven, choose\n"
                       "Start Menu, then Programs, then Brickhaven."));
    const SetupFile& setup = installation.Setup();
    if (!setup.readmeName.isEmpty()) {
        services_.prompts->Message(
            this, InstallerPrompts::Icon::Information, kTitle,
            QStringLiteral("Information about the new release will now be displayed.\n"
                           "Please read it! Please! Pleeeeeease!"));
        ShowReleaseNotes(destination + '/' + setup.readmeName, setup.directx);
        activateWindow();
        raise();
    }
    if (setup.directx) {
        OfferDirectx();
    }
    Finish(kDoneResult);
}

void InstallDialog::reject() {
    Finish(kExitResult);
}

void InstallDialog::ShowError(const QString& text) {
    services_.prompts->Message(this, InstallerPrompts::Icon::Error, QStringLiteral("Error"), text);
}

void InstallDialog::ShowReleaseNotes(const QString& path, bool waitUntilClosed) {
    // No parent: the window outlives the dialog, which closes right after a modeless one opens.
    auto* notes = new ReleaseNotesWindow(path);
    notes->setAttribute(Qt::WA_DeleteOnClose);
    notes_ = notes;
    if (waitUntilClosed) {
        notes->exec();
    } else {
        notes->show();
    }
}

void InstallDialog::OfferDirectx() {
    const bool yes = services_.prompts->YesNo(
        this, kTitle,
        QStringLiteral("DirectX is required to run Brickhaven. Do you want\n"
                       "to install it now? If you aren't sure, press Yes -\n"
                       "it won't harm anything if DirectX is already installed."));
    if (!yes) {
        return;
    }
    const QString program = services_.setDirectory + QStringLiteral("/directx");
    if (!services_.runAndWait(program, services_.setDirectory)) {
        ShowError(QStringLiteral("I couldn't start %1.").arg(program));
    }
}

void InstallDialog::Finish(int result) {
    done(result);
    if (notes_) {
        connect(notes_, &QObject::destroyed, this,
                [this, result] { emit InstallerFinished(result); });
    } else {
        emit InstallerFinished(result);
    }
}
