#pragma once

#include "gamedata/GameDataTokenizer.h"

#include <string>

class ClassVariable;
class EntityClassDef;
class GameDataSet;

// Reads the sections of a YMX file into a game data set. Errors are counted and written to the
// message log; the fifth ends reading at once.
class GameDataParser {
public:
    GameDataParser(GameDataSet& set, std::string text, std::string fileName);

    // True when an @Main section was read completely and no error was reported.
    bool Parse();
    int ErrorCount() const { return m_errors; }

private:
    using Token = GameDataTokenizer::Token;
    using Kind = GameDataTokenizer::Kind;

    void Error(const std::string& message);
    void Errorf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Reports why token is not what was expected (unless the tokenizer already did).
    void Mismatch(const Token& token, Kind kind, const char* text);
    bool Expect(Kind kind, const char* text = nullptr, Token* out = nullptr);
    bool ExpectInteger(int& value);
    bool PeekIsSymbol(const char* text);

    void ParseSection(const Token& sectionName);
    bool ParseMain();
    bool ParseClass(const std::string& sectionName);
    bool ParseClassProperty(EntityClassDef& entityClass);
    bool ParseVariable(EntityClassDef& entityClass);

    GameDataSet& m_set;
    std::string m_fileName;
    GameDataTokenizer m_tokens;
    int m_errors = 0;
    bool m_aborted = false;
    bool m_mainSeen = false;
    bool m_mainRead = false;
};
