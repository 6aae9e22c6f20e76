#include "browser/dictionary/PTDCDictionary.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QTextBoundaryFinder>

namespace {

// The entry in which a dictd database describes itself; its first line repeats the headword.
const QString DatabaseShortHeadword = QStringLiteral("00-database-short");
// Phrases longer than this are not tried as headwords.
constexpr qsizetype MaxTermWords = 8;

QStringList dictdDirectories()
{
    QStringList directories;
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        directories.append(QDir(data).filePath(QStringLiteral("dictd")));
    directories.removeDuplicates();
    return directories;
}

struct Installed {
    QStringList directories;
    QList<std::shared_ptr<PTDCDictionary>> all;
    QHash<QString, std::shared_ptr<PTDCDictionary>> byName;
};

Installed& installed()
{
    static Installed cache;
    const QStringList directories = dictdDirectories();
    static bool scanned = false;
    if (scanned && cache.directories == directories)
        return cache;
    scanned = true;
    cache = Installed{directories, {}, {}};
    for (const QString& directory : directories) {
        const QFileInfoList indexes =
            QDir(directory).entryInfoList({QStringLiteral("*.index")}, QDir::Files | QDir::Readable, QDir::Name);
        for (const QFileInfo& index : indexes) {
            if (std::shared_ptr<PTDCDictionary> dictionary = PTDCDictionary::fromIndexFile(index.filePath())) {
                cache.byName.insert(dictionary->name(), dictionary);
                cache.all.append(std::move(dictionary));
            }
        }
    }
    return cache;
}

// The [start, end) ranges of the words of the text.
QList<std::pair<qsizetype, qsizetype>> wordRanges(const QString& text)
{
    QList<std::pair<qsizetype, qsizetype>> words;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
    qsizetype start = -1;
    // The finder starts on the boundary at position 0, which may open the first word.
    do {
        if ((finder.boundaryReasons() & QTextBoundaryFinder::EndOfItem) && start >= 0) {
            words.append({start, finder.position()});
            start = -1;
        }
        if (finder.boundaryReasons() & QTextBoundaryFinder::StartOfItem)
            start = finder.position();
    } while (finder.toNextBoundary() >= 0);
    return words;
}

} // namespace

PTDCDictionary::PTDCDictionary(pt::DictdIndex index, pt::DictdDataFile data, QString stem)
    : index_(std::move(index)), data_(std::move(data)), shortName_(std::move(stem))
{
    name_ = ownDescription();
    if (name_.isEmpty())
        name_ = shortName_;
}

QList<std::shared_ptr<PTDCDictionary>> PTDCDictionary::availableDictionaries()
{
    return installed().all;
}

std::shared_ptr<PTDCDictionary> PTDCDictionary::dictionaryNamed(const QString& name)
{
    return installed().byName.value(name);
}

std::shared_ptr<PTDCDictionary> PTDCDictionary::fromIndexFile(const QString& indexPath)
{
    const QFileInfo info(indexPath);
    const QString stem = info.fileName().chopped(QStringLiteral(".index").size());
    const QString base = info.dir().filePath(stem);
    std::optional<pt::DictdIndex> index = pt::DictdIndex::fromFile(indexPath);
    if (!index)
        return nullptr;
    std::optional<pt::DictdDataFile> data = pt::DictdDataFile::open(base + QStringLiteral(".dict.dz"));
    if (!data)
        data = pt::DictdDataFile::open(base + QStringLiteral(".dict"));
    if (!data)
        return nullptr;
    return std::shared_ptr<PTDCDictionary>(new PTDCDictionary(std::move(*index), std::move(*data), stem));
}

QString PTDCDictionary::ownDescription() const
{
    for (const PTDCDictionaryEntry& entry :
         PTDCDictionaryEntry::fromRecords(index_.recordsFor(DatabaseShortHeadword), data_)) {
        QStringList lines = entry.text().split(QLatin1Char('\n'));
        if (pt::DictdIndex::foldedKey(lines.first()) == pt::DictdIndex::foldedKey(DatabaseShortHeadword))
            lines.removeFirst();
        const QString description = lines.join(QLatin1Char(' ')).simplified();
        if (!description.isEmpty())
            return description;
    }
    return {};
}

std::optional<QString> PTDCDictionary::termIn(const QString& text) const
{
    const QList<std::pair<qsizetype, qsizetype>> words = wordRanges(text);
    if (words.isEmpty())
        return std::nullopt;
    for (qsizetype count = std::min(words.size(), MaxTermWords); count > 1; --count) {
        const QString phrase = text.mid(words.first().first, words[count - 1].second - words.first().first);
        if (index_.contains(phrase))
            return phrase;
    }
    return text.mid(words.first().first, words.first().second - words.first().first);
}

std::optional<QList<PTDCDictionaryEntry>> PTDCDictionary::entriesForSearchTerm(const QString& text) const
{
    const std::optional<QString> term = termIn(text);
    if (!term)
        return std::nullopt;
    return PTDCDictionaryEntry::fromRecords(index_.recordsFor(*term), data_);
}
