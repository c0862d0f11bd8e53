#include "app/ScreenshotRunner.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "views/MapView2D.h"
#include "views/MapView3D.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

ScreenshotRunner::ScreenshotRunner(CMainFrame& frame, QString path)
    : QObject(&frame), m_frame(frame), m_path(std::move(path)) {
    connect(&frame, &CMainFrame::deferredStartFinished, this, &ScreenshotRunner::Begin);
    m_poll.setInterval(kPollInterval);
    connect(&m_poll, &QTimer::timeout, this, &ScreenshotRunner::Poll);
}

void ScreenshotRunner::Begin() {
    for (CChildFrame* child : m_frame.ChildFrames()) {
        for (CMapView2D* view : child->Views2D()) {
            m_painted[view] = 0;
            connect(view, &CMapView2D::painted, this, [this, view] { ++m_painted[view]; });
            view->viewport()->update();
        }
        if (CMapView3D* view = child->View3D()) {
            m_painted[view] = 0;
            connect(view, &CMapView3D::frameSwapped, this, [this, view] { ++m_painted[view]; });
            view->RequestFrame();
        }
    }
    m_poll.start();
}

void ScreenshotRunner::Poll() {
    m_waited += kPollInterval;
    bool allPainted = true;
    for (const auto& [view, count] : m_painted) {
        allPainted = allPainted && count > 0;
    }
    if (!allPainted && m_waited < kTimeout) {
        return;
    }
    if (!allPainted) {
        std::fprintf(stderr, "Tarno: not every view painted within %d ms\n", kTimeout);
    }
    m_poll.stop();
    QTimer::singleShot(kSettleDelay, this, &ScreenshotRunner::Save);
}

void ScreenshotRunner::Save() {
    // What the display shows of the window; widgets drawn afresh where it cannot tell.
    QPixmap picture;
    if (QScreen* screen = m_frame.screen()) {
        picture = screen->grabWindow(m_frame.winId());
    }
    if (picture.isNull()) {
        picture = m_frame.grab();
    }
    if (!picture.save(m_path, "PNG")) {
        std::fprintf(stderr, "Tarno: could not write the screenshot %s\n", qPrintable(m_path));
        QApplication::exit(1);
        return;
    }
    std::printf("Tarno: screenshot written to %s\n", qPrintable(m_path));
    QApplication::exit(0);
}
