#pragma once

#include <QWidget>

class ProcessOutput;
class QPlainTextEdit;
class QPushButton;

// "Process Window": the compile tools' output as it comes, and a "Stop" button that ends the
// tool running now (the rest of the run is skipped).
class ProcessWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProcessWindow(ProcessOutput& output, QWidget* parent = nullptr);
    ~ProcessWindow() override;

    // While running, "Stop" is enabled; starting a run forgets an earlier stop.
    void SetRunning(bool running);
    bool StopRequested() const { return m_stopRequested; }

    QPlainTextEdit* Text() const { return m_text; }
    QPushButton* StopButton() const { return m_stop; }

private:
    void Append(const std::string& text, bool replaceLine);

    ProcessOutput& m_output;
    QPlainTextEdit* m_text;
    QPushButton* m_stop;
    bool m_stopRequested = false;
};
