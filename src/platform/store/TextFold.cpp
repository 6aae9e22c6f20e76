#include "platform/store/TextFold.h"

namespace pt::store {

QString foldCaseAndDiacritics(const QString& text)
{
    bool plain = true;
    for (QChar c : text)
        if (c.unicode() >= 0x80 || c.isUpper()) {
            plain = false;
            break;
        }
    if (plain)
        return text;
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString result;
    result.reserve(decomposed.size());
    for (QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            result.append(c);
    return result.toCaseFolded();
}

} // namespace pt::store
