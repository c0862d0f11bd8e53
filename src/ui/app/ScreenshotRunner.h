#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <map>

class CMainFrame;

// For `--screenshot PNG`: after the deferred start, asks every view of every document to
// paint, waits until each one has, saves a picture of the main window and quits.
class ScreenshotRunner : public QObject {
    Q_OBJECT
public:
    static constexpr int kPollInterval = 100;
    static constexpr int kSettleDelay = 300;
    static constexpr int kTimeout = 30000;

    ScreenshotRunner(CMainFrame& frame, QString path);

private:
    void Begin();
    void Poll();
    void Save();

    CMainFrame& m_frame;
    QString m_path;
    QTimer m_poll;
    int m_waited = 0;
    // Paints seen per view since the screenshot asked for them.
    std::map<QObject*, int> m_painted;
};
