#pragma once

#include <QSet>
#include <QString>

// The rules for item tags: how a text is cut into tags and which tags are valid. Two tags are the same tag when
// their normalised forms are equal. Stateless; safe from any thread.
class PTTagController {
public:
    // The characters that cut a text into tags, in this order.
    static inline const char* const Separators = " _,-";

    // A tag is valid when it is not numeric (the empty string counts as numeric) and longer than one character.
    static bool isValid(const QString& tag);
    // The valid pieces of the text cut at the separators.
    static QSet<QString> tagsForString(const QString& text);
};
