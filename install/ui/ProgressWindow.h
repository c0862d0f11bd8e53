#pragma once

#include "InstallProgress.h"

#include <QDialog>

class QLabel;
class QProgressBar;

// The modeless "Installation Progress" window: a progress bar and one line of status text.
class ProgressWindow : public QDialog, public InstallProgress {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    void Open(int maximum) override;
    void SetStatus(const QString& text) override;
    void SetPosition(int position) override;
    void Close() override;

    QString StatusText() const;
    int Position() const;
    int Maximum() const;

private:
    // The installation runs inside a button handler: let the window paint between files.
    void Repaint();

    QProgressBar* bar_;
    QLabel* status_;
};
