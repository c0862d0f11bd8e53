#include "app/AutosaveController.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "autosave/AutosaveRecovery.h"
#include "document/MapDoc.h"
#include "session/EditorContext.h"

#include <QMessageBox>
#include <QPushButton>

AutosaveController::AutosaveController(CMainFrame& frame, const QString& directory)
    : QObject(&frame), m_frame(frame), m_manager(directory.toStdString()) {
    Editor().documentClosed = [this](const CMapDoc& document) {
        m_manager.DocumentClosed(document);
    };
    m_timer.setInterval(kTickMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_manager.Tick(); });
    m_timer.start();
}

AutosaveController::~AutosaveController() {
    m_timer.stop();
    Editor().documentClosed = nullptr;
}

AutosaveController::Choice AutosaveController::OfferRecovery() {
    AutosaveStore& store = m_manager.Store();
    store.RemoveOutdated();
    const std::vector<AutosaveEntry> entries = store.Recoverable();
    if (entries.empty()) {
        return Choice::NothingToRecover;
    }
    QStringList maps;
    for (const AutosaveEntry& entry : entries) {
        maps << QString::fromStdString(DescribeAutosave(entry));
    }
    QMessageBox box(QMessageBox::Question, "Brickhaven", kRecoveryQuestion, QMessageBox::NoButton,
                    &m_frame);
    box.setObjectName("RecoveryQuestion");
    box.setInformativeText(maps.join('\n'));
    QPushButton* recover = box.addButton("&Recover", QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton("&Discard", QMessageBox::DestructiveRole);
    QPushButton* later = box.addButton("&Later", QMessageBox::RejectRole);
    recover->setObjectName("Recover");
    discard->setObjectName("Discard");
    later->setObjectName("Later");
    box.setDefaultButton(recover);
    box.setEscapeButton(later);
    QMetaObject::invokeMethod(
        this, [this, &box] { emit recoveryQuestionShown(&box); }, Qt::QueuedConnection);
    box.exec();
    if (box.clickedButton() == recover) {
        Recover(entries);
        return Choice::Recover;
    }
    if (box.clickedButton() == discard) {
        for (const AutosaveEntry& entry : entries) {
            store.Remove(entry.key);
        }
        return Choice::Discard;
    }
    return Choice::Later;
}

void AutosaveController::Recover(const std::vector<AutosaveEntry>& entries) {
    for (const AutosaveEntry& entry : entries) {
        auto document = std::make_unique<CMapDoc>();
        if (!OpenRecoveredMap(*document, entry)) {
            // The files stay: the next start offers them again.
            Editor().messages.AddText(MessageLog::Error,
                                      "The autosave " + entry.file + " could not be read.");
            continue;
        }
        // The map may be open already (named on the command line). An unchanged copy makes way
        // for the recovered one, so the file is not edited in two windows at once.
        if (CChildFrame* open = m_frame.ChildFrameOf(QString::fromStdString(entry.mapPath))) {
            if (open->Document().IsModified()) {
                Editor().messages.AddText(
                    MessageLog::Normal,
                    entry.mapPath + " is open twice: as recovered and with changes made since.");
            } else if (QWidget* window = open->parentWidget()) {
                window->close();
            }
        }
        m_manager.Adopt(*document, entry.key);
        m_frame.AddDocument(std::move(document));
    }
}
