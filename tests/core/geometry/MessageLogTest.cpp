#include "common/MessageLog.h"

#include <gtest/gtest.h>

#include <string>

TEST(MessageLogTest, KeepsTheLast100Lines) {
    MessageLog log;
    for (int i = 1; i <= 101; ++i) {
        log.AddLine(MessageLog::Normal, "line %d", i);
    }
    ASSERT_EQ(log.Count(), 100u);
    EXPECT_EQ(log.Lines().front().text, "line 2");
    EXPECT_EQ(log.Lines().back().text, "line 101");
}

TEST(MessageLogTest, CutsLongTextWithoutOverflow) {
    MessageLog log;
    std::string huge(5000, 'x');
    log.AddLine(MessageLog::Error, "%s", huge.c_str());
    EXPECT_EQ(log.Lines().back().text.size(), MessageLog::kMaxLineLength);
    log.AddText(MessageLog::Normal, huge);
    EXPECT_EQ(log.Lines().back().text.size(), MessageLog::kMaxLineLength);
}

TEST(MessageLogTest, ObserversHearEveryChangeUntilRemoved) {
    MessageLog log;
    std::vector<std::string> heard;
    int errors = 0;
    int token = log.AddObserver([&](const MessageLog::Line* line) {
        heard.push_back(line ? line->text : "<cleared>");
        errors += line && line->kind == MessageLog::Error;
    });
    log.AddLine(MessageLog::Normal, "a");
    log.AddLine(MessageLog::Error, "b %d", 2);
    log.Clear();
    log.RemoveObserver(token);
    log.AddLine(MessageLog::Normal, "c");
    EXPECT_EQ(heard, (std::vector<std::string>{"a", "b 2", "<cleared>"}));
    EXPECT_EQ(errors, 1);
}
