#include "RowSource.h"

#include "DbError.h"

#include <cctype>
#include <string_view>

namespace kalnor {

namespace {

class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    void skipBlanks() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
    }
    bool atEnd() {
        skipBlanks();
        return pos_ >= text_.size();
    }
    // Consumes `word` (any letter case) when it comes next as a whole word.
    bool keyword(std::string_view word) {
        skipBlanks();
        if (text_.size() - pos_ < word.size())
            return false;
        for (std::size_t k = 0; k < word.size(); ++k) {
            if (std::toupper(static_cast<unsigned char>(text_[pos_ + k])) != word[k])
                return false;
        }
        const std::size_t after = pos_ + word.size();
        if (after < text_.size() && isNameChar(text_[after]))
            return false;
        pos_ = after;
        return true;
    }
    bool symbol(char c) {
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    std::optional<std::string> name() {
        skipBlanks();
        if (pos_ >= text_.size())
            return std::nullopt;
        const char open = text_[pos_];
        if (open == '[')
            return delimited(']');
        if (open == '"' || open == '`')
            return delimited(open);
        const std::size_t start = pos_;
        while (pos_ < text_.size() && isNameChar(text_[pos_]))
            ++pos_;
        if (pos_ == start)
            return std::nullopt;
        return std::string(text_.substr(start, pos_ - start));
    }

private:
    static bool isNameChar(char c) {
        const auto u = static_cast<unsigned char>(c);
        return std::isalnum(u) || c == '_' || u >= 0x80;
    }
    // [name] ends at the first ']'; quoted names double their quote inside.
    std::optional<std::string> delimited(char close) {
        std::string out;
        ++pos_;
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == close) {
                if (close != ']' && pos_ < text_.size() && text_[pos_] == close) {
                    out += c;
                    ++pos_;
                    continue;
                }
                return out;
            }
            out += c;
        }
        return std::nullopt;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

RowSource RowSource::parse(const std::string& sql) {
    const auto refuse = [&]() -> DbError {
        return DbError("Origen de registros no admitido: «" + sql + "»", DbError::kBadRowSource);
    };
    Scanner s(sql);
    if (!s.keyword("SELECT") || !s.symbol('*') || !s.keyword("FROM"))
        throw refuse();
    RowSource source;
    const auto table = s.name();
    if (!table || table->empty())
        throw refuse();
    source.table = *table;
    if (s.keyword("ORDER")) {
        if (!s.keyword("BY"))
            throw refuse();
        const auto field = s.name();
        if (!field || field->empty())
            throw refuse();
        source.orderField = *field;
        if (s.keyword("DESC"))
            source.descending = true;
        else
            s.keyword("ASC");
    }
    s.symbol(';');
    if (!s.atEnd())
        throw refuse();
    return source;
}

} // namespace kalnor
