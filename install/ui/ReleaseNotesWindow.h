#pragma once

#include <QDialog>

class QPlainTextEdit;

// Shows a text file read-only, in a window of its own.
class ReleaseNotesWindow : public QDialog {
    Q_OBJECT
public:
    explicit ReleaseNotesWindow(const QString& path, QWidget* parent = nullptr);

    QString Text() const;

private:
    QPlainTextEdit* text_;
};
