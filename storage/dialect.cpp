#include "storage/dialect.h"

#include <cctype>
#include <optional>
#include <vector>

namespace condpag {
namespace {

enum class Kind { Word, Number, Literal, Space, Symbol };

struct Token {
    Kind kind;
    std::string text;
};

bool word_char(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '@' || c == '#' ||
           c == '$';
}

std::vector<Token> tokenize(std::string_view sql) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < sql.size()) {
        char c = sql[i];
        size_t start = i;
        Kind kind;
        if (c == '\'' || c == '"' || c == '[') {
            char close = c == '[' ? ']' : c;
            ++i;
            while (i < sql.size()) {
                if (sql[i] == close) {
                    // A doubled quote inside a literal is part of it.
                    if (close != ']' && i + 1 < sql.size() && sql[i + 1] == close) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            kind = c == '\'' ? Kind::Literal : Kind::Word;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            while (i < sql.size() && std::isspace(static_cast<unsigned char>(sql[i]))) ++i;
            kind = Kind::Space;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            while (i < sql.size() &&
                   (std::isdigit(static_cast<unsigned char>(sql[i])) || sql[i] == '.')) {
                ++i;
            }
            kind = Kind::Number;
        } else if (word_char(c)) {
            while (i < sql.size() && word_char(sql[i])) ++i;
            kind = Kind::Word;
        } else {
            ++i;
            kind = Kind::Symbol;
        }
        tokens.push_back({kind, std::string(sql.substr(start, i - start))});
    }
    return tokens;
}

bool is_word(const Token& token, std::string_view word) {
    if (token.kind != Kind::Word || token.text.size() != word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(token.text[i])) != word[i]) return false;
    }
    return true;
}

// Index of the next token that is not blank, or tokens.size().
size_t next_solid(const std::vector<Token>& tokens, size_t from) {
    while (from < tokens.size() && tokens[from].kind == Kind::Space) ++from;
    return from;
}

std::optional<size_t> previous_solid(const std::vector<Token>& tokens, size_t from) {
    while (from > 0) {
        --from;
        if (tokens[from].kind != Kind::Space) return from;
    }
    return std::nullopt;
}

}  // namespace

std::string source_table(std::string_view sql) {
    const std::vector<Token> tokens = tokenize(sql);
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (!is_word(tokens[i], "FROM")) continue;
        std::string name;
        for (size_t k = next_solid(tokens, i + 1); k < tokens.size(); ++k) {
            const Token& token = tokens[k];
            if (token.kind == Kind::Symbol && token.text == ".") {
                name.clear();  // a schema prefix is not part of the name
            } else if (token.kind == Kind::Word || token.kind == Kind::Number) {
                for (char c : token.text) {
                    if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') name += c;
                }
            } else {
                break;
            }
        }
        return name;
    }
    return {};
}

std::string adapt_statement(std::string_view sql, Dialect dialect) {
    if (dialect == Dialect::SqlServer) return std::string(sql);
    std::vector<Token> tokens = tokenize(sql);
    std::string limit;
    int depth = 0;
    bool top_seen = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
        Token& token = tokens[i];
        if (token.kind == Kind::Symbol && token.text == "(") ++depth;
        if (token.kind == Kind::Symbol && token.text == ")") --depth;
        if (is_word(token, "ISNULL")) {
            size_t next = next_solid(tokens, i + 1);
            if (next < tokens.size() && tokens[next].text == "(") token.text = "COALESCE";
        } else if (depth == 0 && !top_seen && is_word(token, "SELECT")) {
            // SELECT [DISTINCT] TOP n: the count moves to a LIMIT at the end.
            size_t next = next_solid(tokens, i + 1);
            if (next < tokens.size() && is_word(tokens[next], "DISTINCT")) {
                next = next_solid(tokens, next + 1);
            }
            if (next < tokens.size() && is_word(tokens[next], "TOP")) {
                size_t count = next_solid(tokens, next + 1);
                if (count < tokens.size() && tokens[count].kind == Kind::Number) {
                    limit = tokens[count].text;
                    size_t after = next_solid(tokens, count + 1);
                    for (size_t k = next; k < after; ++k) tokens[k].text.clear();
                    top_seen = true;
                }
            }
        } else if (token.kind == Kind::Symbol && token.text == "+") {
            auto before = previous_solid(tokens, i);
            size_t after = next_solid(tokens, i + 1);
            bool text_before = before && tokens[*before].kind == Kind::Literal;
            bool text_after = after < tokens.size() && tokens[after].kind == Kind::Literal;
            if (text_before || text_after) token.text = "||";
        }
    }
    std::string out;
    out.reserve(sql.size() + 16);
    for (const Token& token : tokens) out += token.text;
    if (!limit.empty()) {
        size_t end = out.size();
        while (end > 0 &&
               (std::isspace(static_cast<unsigned char>(out[end - 1])) || out[end - 1] == ';')) {
            --end;
        }
        out = out.substr(0, end) + " LIMIT " + limit + out.substr(end);
    }
    return out;
}

}  // namespace condpag
