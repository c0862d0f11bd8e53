#pragma once

#include <QAbstractScrollArea>
#include <QFont>

class MessageLog;

// Shows the editor's message log: one line per 12 pixels, oldest first, errors in red.
// An error line asks to be shown and brought to the front (errorLineAdded).
class MessageWindow : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kLineHeight = 12;

    explicit MessageWindow(MessageLog& log, QWidget* parent = nullptr);
    ~MessageWindow() override;

    // Text of the lines shown from the top of the viewport (for tests and accessibility).
    int FirstVisibleLine() const;
    // "Courier New" at 10 points, or the system's fixed-pitch font where that is missing.
    const QFont& TextFont() const { return m_font; }

signals:
    void errorLineAdded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnLogChanged(bool error);
    void UpdateScrollRanges();

    MessageLog& m_log;
    int m_observerToken;
    QFont m_font;
};
