#include "platform/store/PredicateParser.h"

#include "platform/store/StoreError.h"

namespace pt::store {

PredicateParser::PredicateParser(const QString& text, const QVector<PredicateArgument>& arguments)
    : text_(text)
    , arguments_(arguments)
{
}

pt::Error PredicateParser::error(const QString& what) const
{
    return storeError(StoreBadPredicate, QStringLiteral("%1 in predicate \"%2\"").arg(what, text_));
}

PredicateParser::Token PredicateParser::peek()
{
    if (!lookahead_) {
        const Token token = next();
        lookahead_ = std::make_pair(token, lexeme_);
    }
    lexeme_ = lookahead_->second;
    return lookahead_->first;
}

PredicateParser::Token PredicateParser::next()
{
    if (lookahead_) {
        const auto [token, lexeme] = *lookahead_;
        lookahead_.reset();
        lexeme_ = lexeme;
        return token;
    }
    while (position_ < text_.size() && text_[position_].isSpace())
        ++position_;
    lexeme_.clear();
    if (position_ >= text_.size())
        return Token::End;
    const QStringView rest = QStringView(text_).mid(position_);
    const auto take = [&](qsizetype n, Token token) {
        lexeme_ = rest.left(n).toString();
        position_ += n;
        return token;
    };
    if (rest.startsWith(u"%@"))
        return take(2, Token::Argument);
    if (rest.startsWith(u"==") )
        return take(2, Token::Equal);
    if (rest.startsWith(u"!=") || rest.startsWith(u"<>"))
        return take(2, Token::NotEqual);
    if (rest.startsWith(u"&&"))
        return take(2, Token::And);
    if (rest.startsWith(u"||"))
        return take(2, Token::Or);
    if (rest.front() == u'=')
        return take(1, Token::Equal);
    if (rest.front() == u'(')
        return take(1, Token::Open);
    if (rest.front() == u')')
        return take(1, Token::Close);
    qsizetype n = 0;
    if (rest.front() == u'$') {
        n = 1;
        while (n < rest.size() && (rest[n].isLetterOrNumber() || rest[n] == u'_'))
            ++n;
        take(n, Token::Variable);
        lexeme_ = lexeme_.mid(1);
        return lexeme_.isEmpty() ? Token::Invalid : Token::Variable;
    }
    if (rest.front().isDigit() || (rest.front() == u'-' && rest.size() > 1 && rest[1].isDigit())) {
        n = 1;
        while (n < rest.size() && rest[n].isDigit())
            ++n;
        return take(n, Token::Number);
    }
    if (rest.front().isLetter() || rest.front() == u'_') {
        while (n < rest.size() && (rest[n].isLetterOrNumber() || rest[n] == u'_'))
            ++n;
        const QString word = rest.left(n).toString();
        const QString upper = word.toUpper();
        if (upper == QLatin1String("CONTAINS") && rest.mid(n).startsWith(u"[cd]"))
            return take(n + 4, Token::Contains);
        if (upper == QLatin1String("AND"))
            return take(n, Token::And);
        if (upper == QLatin1String("OR"))
            return take(n, Token::Or);
        if (upper == QLatin1String("IN"))
            return take(n, Token::In);
        if (upper == QLatin1String("NIL") || upper == QLatin1String("NULL"))
            return take(n, Token::Nil);
        if (upper == QLatin1String("TRUEPREDICATE"))
            return take(n, Token::True);
        return take(n, Token::Identifier);
    }
    return take(1, Token::Invalid);
}

pt::Result<Predicate> PredicateParser::parse()
{
    auto result = parseOr();
    if (result && next() != Token::End)
        return error(QStringLiteral("unexpected \"%1\"").arg(lexeme_));
    return result;
}

pt::Result<Predicate> PredicateParser::parseOr()
{
    QVector<Predicate> terms;
    do {
        auto term = parseAnd();
        if (!term)
            return term;
        terms.append(*term);
    } while (peek() == Token::Or && (next(), true));
    return Predicate::orPredicate(terms);
}

pt::Result<Predicate> PredicateParser::parseAnd()
{
    QVector<Predicate> terms;
    do {
        auto term = parsePrimary();
        if (!term)
            return term;
        terms.append(*term);
    } while (peek() == Token::And && (next(), true));
    return Predicate::andPredicate(terms);
}

pt::Result<Predicate> PredicateParser::parsePrimary()
{
    Token token = next();
    if (token == Token::True)
        return Predicate::truePredicate();
    if (token == Token::Open) {
        auto inner = parseOr();
        if (inner && next() != Token::Close)
            return error(QStringLiteral("missing \")\""));
        return inner;
    }
    if (token != Token::Identifier)
        return error(QStringLiteral("expected a key, found \"%1\"").arg(lexeme_));
    const QString key = lexeme_;
    const Token op = next();
    if (op != Token::Equal && op != Token::NotEqual && op != Token::In && op != Token::Contains)
        return error(QStringLiteral("expected an operator after \"%1\"").arg(key));
    const Token valueToken = next();
    const QString valueText = lexeme_;
    if (op == Token::Contains) {
        if (valueToken == Token::Variable)
            return Predicate::containsCDVariable(key, valueText);
        if (valueToken == Token::Argument && argumentIndex_ < arguments_.size()) {
            if (const auto* text = std::get_if<QString>(&arguments_[argumentIndex_++].value()))
                return Predicate::containsCD(key, *text);
        }
        return error(QStringLiteral("CONTAINS[cd] needs a text or a $variable"));
    }
    PredicateArgument value;
    if (valueToken == Token::Argument) {
        if (argumentIndex_ >= arguments_.size())
            return error(QStringLiteral("too few arguments"));
        value = arguments_[argumentIndex_++];
    } else if (valueToken == Token::Number) {
        value = PredicateArgument(valueText.toLongLong());
    } else if (valueToken != Token::Nil || op == Token::In) {
        return error(QStringLiteral("unexpected value \"%1\"").arg(valueText));
    }
    if (op == Token::In) {
        const auto* ids = std::get_if<QVector<ObjectID>>(&value.value());
        if (!ids)
            return error(QStringLiteral("IN needs a list of objects"));
        return Predicate::in(key, *ids);
    }
    if (std::holds_alternative<QVector<ObjectID>>(value.value()))
        return error(QStringLiteral("a list compared with \"%1\"").arg(key));
    return Predicate::compare(key, op == Token::Equal, value);
}

} // namespace pt::store
