#include "gamedata/GameDataParser.h"

#include "common/CoreServices.h"
#include "common/ProgramDirectory.h"
#include "gamedata/GameDataSet.h"
#include "gamedata/TextCompare.h"

#include <cstdarg>
#include <cstdio>
#include <memory>

namespace {
// Integer tokens were range-checked by the tokenizer; a lone "-" reads as 0.
int TokenValue(const std::string& text) {
    long long value = 0;
    std::size_t start = (!text.empty() && text[0] == '-') ? 1 : 0;
    for (std::size_t i = start; i < text.size() && i < 12; ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return static_cast<int>(start ? -value : value);
}

constexpr const char* kPaletteFailure = "Couldn't load the palette specified in the YMX file.";
} // namespace

GameDataParser::GameDataParser(GameDataSet& set, std::string text, std::string fileName)
    : m_set(set), m_fileName(std::move(fileName)),
      m_tokens(std::move(text), [this](const std::string& message) { Error(message); }) {}

void GameDataParser::Error(const std::string& message) {
    if (m_aborted) {
        return;
    }
    MessageLog& log = CoreServices::Installed().messages;
    log.AddText(MessageLog::Error, "error parsing " + m_fileName + ", line " +
                                       std::to_string(m_tokens.Line()) + ": " + message);
    if (++m_errors >= GameDataSet::kMaxErrors) {
        log.AddText(MessageLog::Error, "   - too many errors; aborting.");
        m_aborted = true;
        m_tokens.Stop();
    }
}

void GameDataParser::Errorf(const char* format, ...) {
    char buffer[512];
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    Error(buffer);
}

void GameDataParser::Mismatch(const Token& token, Kind kind, const char* text) {
    if (token.reported) {
        return;
    }
    if (text == nullptr) {
        Errorf("expecting %s", GameDataTokenizer::KindWord(kind));
    } else {
        Errorf("expecting '%s', but found '%s'", text, token.text.c_str());
    }
}

bool GameDataParser::Expect(Kind kind, const char* text, Token* out) {
    Token token = m_tokens.Next();
    bool matches = token.kind == kind && (text == nullptr || EqualsNoCase(token.text, text));
    if (!matches) {
        Mismatch(token, kind, text);
        return false;
    }
    if (out != nullptr) {
        *out = std::move(token);
    }
    return true;
}

bool GameDataParser::ExpectInteger(int& value) {
    Token token;
    if (!Expect(GameDataTokenizer::Integer, nullptr, &token)) {
        return false;
    }
    value = TokenValue(token.text);
    return true;
}

bool GameDataParser::PeekIsSymbol(const char* text) {
    const Token& next = m_tokens.Peek();
    return next.kind == GameDataTokenizer::Symbol && next.text == text;
}

bool GameDataParser::Parse() {
    while (!m_aborted) {
        Token at = m_tokens.Next();
        if (at.kind == GameDataTokenizer::EndOfInput) {
            break;
        }
        if (at.kind != GameDataTokenizer::Symbol || at.text != "@") {
            if (!at.reported) {
                Error("expected @");
            }
            continue;
        }
        Token sectionName = m_tokens.Next();
        if (sectionName.kind != GameDataTokenizer::Identifier) {
            if (!sectionName.reported) {
                Error("expected identifier after @");
            }
            if (sectionName.kind == GameDataTokenizer::EndOfInput) {
                break;
            }
        }
        if (m_aborted) {
            break;
        }
        ParseSection(sectionName);
    }
    if (!m_aborted && !m_mainSeen) {
        Error("@Main section not defined");
    }
    return m_mainRead && m_errors == 0;
}

void GameDataParser::ParseSection(const Token& sectionName) {
    const std::string& name = sectionName.text;
    if (EqualsNoCase(name, "baseclass") || EqualsNoCase(name, "pointclass") ||
        EqualsNoCase(name, "solidclass")) {
        if (!ParseClass(name)) {
            m_tokens.SkipToSection();
        }
        return;
    }
    if (EqualsNoCase(name, "Main")) {
        if (m_mainSeen) {
            Error("@Main section defined more than once");
            m_tokens.SkipToSection();
            return;
        }
        if (!ParseMain()) {
            m_tokens.SkipToSection();
        }
        return;
    }
    Errorf("unrecognized section name %s", name.c_str());
    m_tokens.SkipToSection();
}

bool GameDataParser::ParseMain() {
    m_mainSeen = true;
    Token equals = m_tokens.Next();
    if (equals.kind != GameDataTokenizer::Symbol || equals.text != "=") {
        Mismatch(equals, GameDataTokenizer::Symbol, "=");
    }
    if (!Expect(GameDataTokenizer::Symbol, "[")) {
        return false;
    }
    m_set.m_name.clear();
    m_set.m_paletteFile.clear();
    m_set.m_defaultClass.clear();

    for (;;) {
        Token key = m_tokens.Next();
        if (m_aborted) {
            return false;
        }
        if (key.kind == GameDataTokenizer::Identifier) {
            Token value;
            if (!Expect(GameDataTokenizer::Symbol, ":") ||
                !Expect(GameDataTokenizer::String, nullptr, &value)) {
                return false;
            }
            if (EqualsNoCase(key.text, "Name")) {
                m_set.m_name = value.text;
            } else if (EqualsNoCase(key.text, "Palette")) {
                m_set.m_paletteFile = value.text;
                if (!m_set.m_palette.Load(ResolveProgramPath(value.text))) {
                    // Not a parse error: the user is told at once and the section is left.
                    CoreServices::Installed().GetPrompts().Message(kPaletteFailure,
                                                                   Prompts::Icon::Error);
                    return false;
                }
            } else if (EqualsNoCase(key.text, "DefaultClass")) {
                m_set.m_defaultClass = value.text;
            }
            continue;
        }
        if (key.kind == GameDataTokenizer::Symbol && key.text == "]") {
            break;
        }
        if (!key.reported) {
            Errorf("unexpected token '%s'", key.text.c_str());
        }
        return false;
    }
    if (m_set.m_name.empty() || m_set.m_paletteFile.empty()) {
        Error("missing required values.");
        return false;
    }
    m_mainRead = true;
    return true;
}

bool GameDataParser::ParseClass(const std::string& sectionName) {
    auto entityClass = std::make_unique<EntityClassDef>();
    while (m_tokens.Peek().kind == GameDataTokenizer::Identifier) {
        if (!ParseClassProperty(*entityClass)) {
            return false;
        }
    }
    Token name;
    if (!Expect(GameDataTokenizer::Symbol, "=") ||
        !Expect(GameDataTokenizer::Identifier, nullptr, &name)) {
        return false;
    }
    entityClass->name = name.text;
    entityClass->description = name.text;
    if (PeekIsSymbol(":")) {
        m_tokens.Next();
        Token description;
        if (!Expect(GameDataTokenizer::String, nullptr, &description)) {
            return false;
        }
        entityClass->description = description.text;
    }
    if (!Expect(GameDataTokenizer::Symbol, "[")) {
        return false;
    }
    while (m_tokens.Peek().kind != GameDataTokenizer::Symbol) {
        if (m_aborted || !ParseVariable(*entityClass)) {
            return false;
        }
    }
    if (!Expect(GameDataTokenizer::Symbol, "]")) {
        return false;
    }
    if (m_set.FindClass(entityClass->name, nullptr) != nullptr) {
        Errorf("redefinition of class '%s'", entityClass->name.c_str());
        return true;
    }
    entityClass->isBase = EqualsNoCase(sectionName, "baseclass");
    entityClass->isSolid = EqualsNoCase(sectionName, "solidclass");
    m_set.m_classes.push_back(std::move(entityClass));
    return true;
}

bool GameDataParser::ParseClassProperty(EntityClassDef& entityClass) {
    Token property = m_tokens.Next();
    if (!Expect(GameDataTokenizer::Symbol, "(")) {
        return false;
    }
    if (EqualsNoCase(property.text, "base")) {
        for (;;) {
            Token baseName;
            if (!Expect(GameDataTokenizer::Identifier, nullptr, &baseName)) {
                return false;
            }
            int position = -1;
            EntityClassDef* base = m_set.FindClass(baseName.text, &position);
            if (base == nullptr) {
                return false; // an unknown base drops the class without a message
            }
            if (!entityClass.InheritFrom(*base, position)) {
                Error("too many variables: a class holds at most 32");
                return false;
            }
            Token separator = m_tokens.Next();
            if (separator.kind != GameDataTokenizer::Symbol) {
                Mismatch(separator, GameDataTokenizer::Symbol, nullptr);
                return false;
            }
            if (separator.text == ")") {
                return true;
            }
            if (separator.text != ",") {
                Errorf("expecting ',' or ')', but found %s", separator.text.c_str());
                return false;
            }
        }
    }
    if (EqualsNoCase(property.text, "size")) {
        int first[3];
        for (int& v : first) {
            if (!ExpectInteger(v)) {
                return false;
            }
        }
        Token next = m_tokens.Next();
        if (next.kind == GameDataTokenizer::Symbol && next.text == ")") {
            entityClass.boxMin = Vector(-first[0] * 0.5f, -first[1] * 0.5f, -first[2] * 0.5f);
            entityClass.boxMax = Vector(first[0] * 0.5f, first[1] * 0.5f, first[2] * 0.5f);
        } else if (next.kind == GameDataTokenizer::Symbol && next.text == ",") {
            int second[3];
            for (int& v : second) {
                if (!ExpectInteger(v)) {
                    return false;
                }
            }
            if (!Expect(GameDataTokenizer::Symbol, ")")) {
                return false;
            }
            entityClass.boxMin = Vector(static_cast<float>(first[0]), static_cast<float>(first[1]),
                                        static_cast<float>(first[2]));
            entityClass.boxMax =
                Vector(static_cast<float>(second[0]), static_cast<float>(second[1]),
                       static_cast<float>(second[2]));
        } else {
            Mismatch(next, GameDataTokenizer::Symbol, ")");
            return false;
        }
        entityClass.hasSize = true;
        return true;
    }
    if (EqualsNoCase(property.text, "color")) {
        int rgb[3];
        for (int& v : rgb) {
            if (!ExpectInteger(v)) {
                return false;
            }
        }
        if (!Expect(GameDataTokenizer::Symbol, ")")) {
            return false;
        }
        entityClass.color = EntityClassDef::PackColor(rgb[0], rgb[1], rgb[2]);
        entityClass.hasColor = true;
        return true;
    }
    Errorf("expected 'base' or 'size' or 'color', but found '%s'", property.text.c_str());
    return false;
}

bool GameDataParser::ParseVariable(EntityClassDef& entityClass) {
    Token name;
    Token typeName;
    if (!Expect(GameDataTokenizer::Identifier, nullptr, &name) ||
        !Expect(GameDataTokenizer::Symbol, "(") ||
        !Expect(GameDataTokenizer::Identifier, nullptr, &typeName)) {
        return false;
    }
    auto type = VariableTypeFromKeyword(typeName.text);
    if (!type) {
        Errorf("'%s' is not a valid variable type", typeName.text.c_str());
        return false;
    }
    if (!Expect(GameDataTokenizer::Symbol, ")")) {
        return false;
    }
    ClassVariable variable;
    variable.name = name.text;
    variable.description = name.text;
    variable.type = *type;

    if (PeekIsSymbol(":")) {
        m_tokens.Next();
        if (variable.type == VariableType::Flags) {
            Error("flag sets do not have names");
            return false;
        }
        Token description;
        if (!Expect(GameDataTokenizer::String, nullptr, &description)) {
            return false;
        }
        variable.description = description.text;
        if (PeekIsSymbol(":")) {
            m_tokens.Next();
            if (variable.type == VariableType::String) {
                Token value;
                if (!Expect(GameDataTokenizer::String, nullptr, &value)) {
                    return false;
                }
                variable.defaultString = value.text;
            } else if (!ExpectInteger(variable.defaultInteger)) {
                return false;
            }
        }
    }

    const Token& next = m_tokens.Peek();
    if (next.kind == GameDataTokenizer::Symbol && next.text != "]") {
        Token equals = m_tokens.Next();
        if (equals.text != "=") {
            Mismatch(equals, GameDataTokenizer::Symbol, "=");
            return false;
        }
        if (!variable.IsChoicesOrFlags()) {
            Error("didn't expect '=' here");
            return false;
        }
        if (!Expect(GameDataTokenizer::Symbol, "[")) {
            return false;
        }
        while (m_tokens.Peek().kind == GameDataTokenizer::Integer) {
            VariableChoice item;
            Token caption;
            if (!ExpectInteger(item.value) || !Expect(GameDataTokenizer::Symbol, ":") ||
                !Expect(GameDataTokenizer::String, nullptr, &caption)) {
                return false;
            }
            item.caption = caption.text;
            if (variable.type == VariableType::Flags) {
                int on = 0;
                if (!Expect(GameDataTokenizer::Symbol, ":") || !ExpectInteger(on)) {
                    return false;
                }
                item.onByDefault = on != 0;
            }
            variable.items.push_back(std::move(item));
        }
        if (!Expect(GameDataTokenizer::Symbol, "]")) {
            return false;
        }
    } else if (variable.IsChoicesOrFlags()) {
        Errorf("no %s specified", variable.type == VariableType::Flags ? "flags" : "choices");
        return false;
    }

    if (!entityClass.AddVariable(variable)) {
        Error("too many variables: a class holds at most 32");
        return false;
    }
    return true;
}
