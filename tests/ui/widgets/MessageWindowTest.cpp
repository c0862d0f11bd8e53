#include "app/MessageWindow.h"
#include "app/ProgressWindow.h"
#include "app/QtSettingsStore.h"
#include "common/MessageLog.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(MessageWindowTest, ErrorLinesAskToBeShownAndTheNewestLinesStayInView) {
    MessageLog log;
    MessageWindow window(log);
    window.resize(400, 10 * MessageWindow::kLineHeight + 2 * window.frameWidth());
    window.show();
    QSignalSpy errors(&window, &MessageWindow::errorLineAdded);
    log.AddLine(MessageLog::Normal, "normal");
    EXPECT_EQ(errors.count(), 0);
    log.AddLine(MessageLog::Error, "CheckFace: no points");
    EXPECT_EQ(errors.count(), 1);
    for (int i = 0; i < 120; ++i) {
        log.AddLine(MessageLog::Normal, "line %d", i);
    }
    EXPECT_EQ(log.Count(), 100u);
    EXPECT_EQ(window.verticalScrollBar()->maximum(),
              100 * MessageWindow::kLineHeight - window.viewport()->height());
    EXPECT_EQ(window.verticalScrollBar()->value(), window.verticalScrollBar()->maximum());
}

TEST(ProgressWindowTest, ShowsThePercentageAndDisablesItsOwner) {
    QWidget owner;
    owner.show();
    {
        ProgressWindow progress(&owner);
        EXPECT_FALSE(owner.isEnabled());
        progress.SetPosition(42);
        EXPECT_EQ(progress.PercentText(), "42%");
        EXPECT_FALSE(progress.Cancelled());
    }
    EXPECT_TRUE(owner.isEnabled());
}

TEST(QtSettingsStoreTest, KeepsSectionsAndNamesInAnIniFile) {
    QTemporaryDir dir;
    QString path = dir.filePath("Brickhaven.ini");
    {
        QtSettingsStore store(path);
        store.WriteInt("2D Views", "Draw Vertices", 1);
        store.WriteString("General", "TextureFile0", "/maps/a b.wad");
        store.WriteString("Run Map", "Quake Parms", "-width 800");
    }
    QtSettingsStore store(path);
    EXPECT_EQ(store.GetInt("2D Views", "Draw Vertices", 0), 1);
    EXPECT_EQ(store.GetString("General", "TextureFile0", ""), "/maps/a b.wad");
    EXPECT_EQ(store.GetInt("General", "Missing", 7), 7);
    EXPECT_EQ(store.GetInt("General", "TextureFile0", 9), 9); // not a number: default
}
