#include "gamedata/GameDataTokenizer.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsSymbol(char c) {
    return c != '\0' && std::strchr("!$&()*,.:=@[]", c) != nullptr;
}
// A short printable form of a text for messages.
std::string Shown(const std::string& text, std::size_t limit) {
    std::string shown;
    for (char c : text.substr(0, limit)) {
        auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            shown += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        }
    }
    if (text.size() > limit) {
        shown += "...";
    }
    return shown;
}
} // namespace

GameDataTokenizer::GameDataTokenizer(std::string text, ErrorSink errorSink)
    : m_text(std::move(text)), m_errorSink(std::move(errorSink)) {}

const char* GameDataTokenizer::KindWord(Kind kind) {
    switch (kind) {
    case Symbol:
        return "symbol";
    case Integer:
        return "integer";
    case String:
        return "string";
    case Identifier:
        return "identifier";
    default:
        return "";
    }
}

GameDataTokenizer::Token GameDataTokenizer::Next() {
    if (m_stopped) {
        return Token{};
    }
    if (m_hasPushedBack) {
        m_hasPushedBack = false;
        return std::move(m_pushedBack);
    }
    return Read();
}

const GameDataTokenizer::Token& GameDataTokenizer::Peek() {
    if (!m_hasPushedBack) {
        m_pushedBack = Next();
        m_hasPushedBack = true;
    }
    if (m_stopped) {
        static const Token end{};
        return end;
    }
    return m_pushedBack;
}

void GameDataTokenizer::PushBack(Token token) {
    m_pushedBack = std::move(token);
    m_hasPushedBack = true;
}

void GameDataTokenizer::SkipToSection() {
    for (;;) {
        Token token = Next();
        if (token.kind == EndOfInput) {
            return;
        }
        if (token.kind == Symbol && token.text == "@") {
            PushBack(std::move(token));
            return;
        }
    }
}

GameDataTokenizer::Token GameDataTokenizer::Reported(const std::string& message, std::string text) {
    if (m_errorSink) {
        m_errorSink(message);
    }
    return Token{Bad, std::move(text), true};
}

GameDataTokenizer::Token GameDataTokenizer::Read() {
    for (;;) {
        while (!AtEnd()) {
            char c = m_text[m_pos];
            if (c == ' ' || c == '\t' || c == '\r') {
                ++m_pos;
            } else if (c == '\n') {
                ++m_pos;
                ++m_line;
            } else {
                break;
            }
        }
        if (AtEnd()) {
            return Token{};
        }
        if (m_text[m_pos] == '/' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '/') {
            // A comment runs to the end of the line, however long the line is.
            std::size_t end = m_text.find('\n', m_pos);
            if (end == std::string::npos) {
                m_pos = m_text.size();
            } else {
                m_pos = end + 1;
                ++m_line;
            }
            continue;
        }
        break;
    }

    char c = m_text[m_pos++];
    if (IsSymbol(c)) {
        return Token{Symbol, std::string(1, c)};
    }
    if (c == '"') {
        return ReadString();
    }
    if (IsDigit(c) || c == '-') {
        return ReadInteger(c);
    }
    if (IsLetter(c) || c == '_') {
        return ReadIdentifier(c);
    }
    // A character that starts no token comes back as a bad token of its own.
    return Token{Bad, std::string(1, c)};
}

GameDataTokenizer::Token GameDataTokenizer::ReadString() {
    std::size_t close = m_text.find('"', m_pos);
    if (close == std::string::npos) {
        std::string text = m_text.substr(m_pos);
        m_pos = m_text.size();
        return Reported("unterminated string \"" + Shown(text, 40) + "\"", std::move(text));
    }
    std::string text = m_text.substr(m_pos, close - m_pos);
    m_pos = close + 1;
    if (text.size() > kMaxString) {
        return Reported("string longer than 127 characters: \"" + Shown(text, 40) + "\"",
                        std::move(text));
    }
    return Token{String, std::move(text)};
}

GameDataTokenizer::Token GameDataTokenizer::ReadInteger(char first) {
    std::string text(1, first);
    while (!AtEnd() && IsDigit(m_text[m_pos])) {
        text += m_text[m_pos++];
    }
    if (!AtEnd()) {
        char after = m_text[m_pos];
        if (IsLetter(after) || after == '_' || after == '-') {
            ++m_pos;
            text += after;
            return Token{Bad, std::move(text)};
        }
    }
    // Out-of-range numbers would wrap silently; report them instead.
    std::int64_t value = 0;
    for (std::size_t i = (first == '-') ? 1 : 0; i < text.size(); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) {
            return Reported("integer out of range: " + Shown(text, 40), std::move(text));
        }
    }
    if (first != '-' && value > std::numeric_limits<std::int32_t>::max()) {
        return Reported("integer out of range: " + Shown(text, 40), std::move(text));
    }
    return Token{Integer, std::move(text)};
}

GameDataTokenizer::Token GameDataTokenizer::ReadIdentifier(char first) {
    std::string text(1, first);
    while (!AtEnd()) {
        char c = m_text[m_pos];
        if (!IsLetter(c) && !IsDigit(c) && c != '_') {
            break;
        }
        text += c;
        ++m_pos;
    }
    if (text.size() > kMaxIdentifier) {
        return Reported("name longer than 32 characters: " + Shown(text, 40), std::move(text));
    }
    return Token{Identifier, std::move(text)};
}
