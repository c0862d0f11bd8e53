#pragma once

#include "autosave/AutosaveManager.h"

#include <QObject>
#include <QString>
#include <QTimer>

class CMainFrame;
class QMessageBox;

// Runs autosave for the main window's documents (a tick every second on the UI thread; the
// files are written by the manager's worker thread) and asks at start-up whether the maps a
// crashed Tarno left behind should be recovered.
class AutosaveController : public QObject {
    Q_OBJECT
public:
    enum class Choice { NothingToRecover, Recover, Discard, Later };
    static constexpr int kTickMilliseconds = 1000;

    AutosaveController(CMainFrame& frame, const QString& directory);
    ~AutosaveController() override;

    AutosaveManager& Manager() { return m_manager; }

    // "Tarno was not closed properly. Recover these maps?" with the maps listed, when there
    // are any: Recover opens each as a modified map bound to its original path, Discard
    // deletes them, Later keeps them for the next start.
    Choice OfferRecovery();

signals:
    // The question is up (tests answer it through the box).
    void recoveryQuestionShown(QMessageBox* box);

private:
    void Recover(const std::vector<AutosaveEntry>& entries);

    CMainFrame& m_frame;
    AutosaveManager m_manager;
    QTimer m_timer;
};
