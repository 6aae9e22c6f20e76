#include "library/ImportNaming.h"

#include "foundation/StringAdditions.h"
#include "library/PTFileNamer.h"
#include "library/entities/EntityValues.h"
#include "library/entities/PTCollection.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace {

const QString UntitledStem = QStringLiteral("untitled");
// An extension leaves room for one character of stem (four bytes at most), a dot with a counter of up to 20
// digits, and its own dot.
constexpr qsizetype MaxExtensionBytes = PTMaxFileNameBytes - 4 - 21 - 1;

const QHash<QString, QString>& wordMap()
{
    static const QHash<QString, QString> map{
        {"ios", "iOS"}, {"osx", "OSX"}, {"svg", "SVG"}, {"ttf", "TTF"}, {"otf", "OTF"},
        {"pdf", "PDF"}, {"png", "PNG"}, {"gif", "GIF"}, {"eps", "EPS"}, {"css", "CSS"},
        {"ico", "ICO"}, {"px", "px"},   {"em", "em"},   {"x", "x"},     {"hidpi", "HiDPI"},
    };
    return map;
}

const QRegularExpression& wordExpression()
{
    // Letters (with their combining marks) and digits of any script, and "@".
    static const QRegularExpression expression(QStringLiteral("[\\p{L}\\p{M}\\p{N}@]+"),
                                               QRegularExpression::UseUnicodePropertiesOption);
    return expression;
}

const QRegularExpression& unsafeRunExpression()
{
    static const QRegularExpression expression(QStringLiteral("[^a-z0-9@.]+"),
                                               QRegularExpression::CaseInsensitiveOption);
    return expression;
}

bool isUpperCaseLetter(char32_t c)
{
    const auto category = QChar::category(c);
    return category == QChar::Letter_Uppercase || category == QChar::Letter_Titlecase;
}

// First character upper case, the rest lower case, as a one-word capitalised string.
QString capitalized(const QString& word)
{
    const QList<uint> codePoints = word.toUcs4();
    if (codePoints.isEmpty())
        return word;
    const QString first = QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.constData()), 1);
    return first.toUpper() + word.mid(first.size()).toLower();
}

QString withoutSeparators(QString name)
{
    name.replace(QChar('/'), QChar('-'));
    name.remove(QChar(u'\0'));
    return name;
}

struct NameParts {
    QString stem;
    QString extension;
};

NameParts namePartsOf(const QString& name)
{
    QString unique = withoutSeparators(name);
    while (unique.startsWith(u'.'))
        unique.remove(0, 1);
    if (unique.isEmpty())
        unique = UntitledStem;
    const qsizetype firstDot = unique.indexOf(u'.');
    // A trailing dot names no extension.
    return {firstDot >= 0 ? unique.left(firstDot) : unique,
            firstDot >= 0 ? PTCutToUtf8Size(unique.mid(unique.lastIndexOf(u'.') + 1), MaxExtensionBytes) : QString()};
}

bool takenIn(const QDir& directory, const QString& name)
{
    const QFileInfo info(directory.filePath(name));
    return info.exists() || info.isSymLink();
}

QString uniqueName(const QString& name, const QString& directory, PTFileNamer& namer,
                   const QSet<QString>* handedOut)
{
    const NameParts parts = namePartsOf(name);
    const QDir dir(directory);
    return namer.nextFreeName(QDir::cleanPath(directory), parts.stem, parts.extension, [&](const QString& candidate) {
        return takenIn(dir, candidate) || (handedOut && handedOut->contains(candidate));
    });
}

} // namespace

QString PTCutToUtf8Size(const QString& text, qsizetype bytes)
{
    qsizetype used = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const char16_t unit = text.at(end).unicode();
        const bool pair = QChar::isHighSurrogate(unit) && end + 1 < text.size() && text.at(end + 1).isLowSurrogate();
        const qsizetype size = pair ? 4 : unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3;
        if (used + size > bytes)
            break;
        used += size;
        end += pair ? 2 : 1;
    }
    return text.left(end);
}

QString PTFittedFileName(const QString& stem, qint64 counter, const QString& extension)
{
    QString suffix;
    if (counter != 0)
        suffix += u'.' + QString::number(counter);
    if (!extension.isEmpty())
        suffix += u'.' + extension;
    return PTCutToUtf8Size(stem, PTMaxFileNameBytes - suffix.toUtf8().size()) + suffix;
}

bool PTIsMixedCase(const QString& word)
{
    bool upper = false;
    bool other = false;
    for (char32_t c : word.toUcs4()) {
        if (isUpperCaseLetter(c))
            upper = true;
        else
            other = true;
    }
    return upper && other;
}

QString PTPrettifyWord(const QString& word)
{
    const QString lower = word.toLower();
    const auto mapped = wordMap().constFind(lower);
    if (mapped != wordMap().constEnd())
        return *mapped;
    if (lower.size() < 3)
        return lower.toUpper();
    return word;
}

QString PTPrettifyName(const QString& name)
{
    QString result;
    auto matches = wordExpression().globalMatch(name);
    while (matches.hasNext()) {
        QString word = PTPrettifyWord(matches.next().captured());
        if (word.isEmpty())
            continue;
        const bool keep = word == word.toUpper() || (word.at(0) >= u'0' && word.at(0) <= u'9')
            || PTIsMixedCase(word) || word.contains(u'@');
        if (!keep)
            word = capitalized(word);
        result += word + u' ';
    }
    return result.trimmed();
}

QString PTSafeFileName(const QString& name)
{
    if (name.isEmpty())
        return {};
    QString safe = name;
    safe.replace(unsafeRunExpression(), QStringLiteral("-"));
    safe = safe.toLower();
    // The extension is what follows the last dot when that is a plain word ("svg", "png").
    static const QRegularExpression extensionExpression(QStringLiteral("\\.[a-z0-9]+$"));
    const auto extension = extensionExpression.match(safe);
    const QString stem = extension.hasMatch() ? safe.left(extension.capturedStart()) : safe;
    const bool hasWordCharacter = std::any_of(stem.begin(), stem.end(), [](QChar c) {
        return c.isLetterOrNumber() || c == u'@';
    });
    if (!hasWordCharacter)
        return UntitledStem + extension.captured();
    return safe;
}

QString PTUniqueFileName(const QString& name, const QString& directory, QSet<QString>* handedOut)
{
    PTFileNamer namer;
    const QString candidate = uniqueName(name, directory, namer, handedOut);
    if (handedOut)
        handedOut->insert(candidate);
    return candidate;
}

QString PTSafeUniqueFileName(const QString& name, const QString& directory, QSet<QString>* handedOut)
{
    return PTUniqueFileName(PTSafeFileName(name), directory, handedOut);
}

QString PTUniqueFileName(const QString& name, const QString& directory, PTFileNamer& namer)
{
    return uniqueName(name, directory, namer, nullptr);
}

QString PTSafeUniqueFileName(const QString& name, const QString& directory, PTFileNamer& namer)
{
    return uniqueName(PTSafeFileName(name), directory, namer, nullptr);
}

QString PTSafeFirstFileName(const QString& name)
{
    const NameParts parts = namePartsOf(PTSafeFileName(name));
    return PTFittedFileName(parts.stem, 0, parts.extension);
}

void PTSetNewObjectDefaults(PTCollection* set)
{
    set->setNormalizedSearch(stringAdditions::normalizedString(set->name()));
    set->setDate(QDateTime::currentDateTime());
    set->setIdentifier(entityValues::newIdentifier());
}
