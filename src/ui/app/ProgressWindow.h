#pragma once

#include "common/Progress.h"

#include <QDialog>

class QLabel;
class QProgressBar;

// Progress of long loads: a bar from 0 to 100, the percentage, and Cancel, which only marks
// the window as cancelled. The owner is disabled while the window is shown; setting the
// position lets pending events run so the editor stays responsive.
class ProgressWindow : public QDialog, public Progress {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* owner, const QString& title = QStringLiteral("Loading"));
    ~ProgressWindow() override;

    void SetPosition(int percent) override;
    bool Cancelled() const override { return m_cancelled; }
    int Position() const;
    QString PercentText() const;

private:
    QWidget* m_owner;
    QProgressBar* m_bar;
    QLabel* m_label;
    bool m_cancelled = false;
};
