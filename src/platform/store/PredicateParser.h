#pragma once

#include "platform/store/Predicate.h"

namespace pt::store {

// Reads the text form of a predicate: comparisons with = (==) and != (<>), IN, CONTAINS[cd], the values %@
// (taken from the arguments in order), $variables, nil/NULL and integers, combined with AND/&& and OR/||
// and parentheses, or TRUEPREDICATE. Nothing beyond the forms Predicate can express.
class PredicateParser {
public:
    PredicateParser(const QString& text, const QVector<PredicateArgument>& arguments);
    pt::Result<Predicate> parse();

private:
    enum class Token { End, Identifier, Argument, Variable, Number, Equal, NotEqual, In, Contains, And, Or,
                       Open, Close, Nil, True, Invalid };

    Token next();
    Token peek();
    pt::Result<Predicate> parseOr();
    pt::Result<Predicate> parseAnd();
    pt::Result<Predicate> parsePrimary();
    pt::Error error(const QString& what) const;

    QString text_;
    QVector<PredicateArgument> arguments_;
    qsizetype position_ = 0;
    int argumentIndex_ = 0;
    QString lexeme_;
    std::optional<std::pair<Token, QString>> lookahead_;
};

} // namespace pt::store
