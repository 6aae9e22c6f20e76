#include "library/PTTagController.h"

#include "foundation/StringAdditions.h"

bool PTTagController::isValid(const QString& tag)
{
    return !stringAdditions::isNumeric(tag) && tag.size() > 1;
}

QSet<QString> PTTagController::tagsForString(const QString& text)
{
    QSet<QString> tags;
    for (const QString& piece : stringAdditions::componentsSeparatedByChars(text, Separators)) {
        if (isValid(piece))
            tags.insert(piece);
    }
    return tags;
}
