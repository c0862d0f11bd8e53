#pragma once

#include <cstddef>
#include <functional>
#include <string>

// Splits game data text into tokens, with one token of push-back. Problems the tokenizer finds
// itself (a name or text too long, an unterminated text, a number out of range) are reported
// through the error sink and the token comes back as Bad with `reported` set.
class GameDataTokenizer {
public:
    enum Kind {
        EndOfInput = -1,
        Symbol = 0,
        Integer = 1,
        String = 2,
        Identifier = 3,
        Bad = -3,
    };

    struct Token {
        Kind kind = EndOfInput;
        std::string text;
        bool reported = false; // the tokenizer already reported why the token is bad
    };

    static constexpr std::size_t kMaxIdentifier = 32;
    static constexpr std::size_t kMaxString = 127;

    using ErrorSink = std::function<void(const std::string& message)>;

    GameDataTokenizer(std::string text, ErrorSink errorSink);

    Token Next();
    // The next token, kept for the following Next().
    const Token& Peek();
    void PushBack(Token token);
    // Reads tokens up to the next "@" (left for Next()) or the end of input.
    void SkipToSection();
    // After this every read returns end of input.
    void Stop() { m_stopped = true; }

    int Line() const { return m_line; }

    // The word a message uses for a token kind ("symbol", "integer", "string", "identifier").
    static const char* KindWord(Kind kind);

private:
    Token Read();
    Token ReadString();
    Token ReadInteger(char first);
    Token ReadIdentifier(char first);
    bool AtEnd() const { return m_pos >= m_text.size(); }
    Token Reported(const std::string& message, std::string text);

    std::string m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
    bool m_stopped = false;
    bool m_hasPushedBack = false;
    Token m_pushedBack;
    ErrorSink m_errorSink;
};
