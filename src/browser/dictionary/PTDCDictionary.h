#pragma once

#include "browser/dictionary/DictdDataFile.h"
#include "browser/dictionary/DictdIndex.h"
#include "browser/dictionary/PTDCDictionaryEntry.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

// A dictionary installed on the machine: a dictd database (NAME.index with NAME.dict or NAME.dict.dz) in a
// "dictd" folder of the XDG data directories, /usr/share/dictd among them. Used on the main thread only.
class PTDCDictionary {
public:
    // Every installed dictionary, found once for a given set of data directories; none installed is an empty list.
    static QList<std::shared_ptr<PTDCDictionary>> availableDictionaries();
    // Of two dictionaries with one name, the one found later wins.
    static std::shared_ptr<PTDCDictionary> dictionaryNamed(const QString& name);
    // Null when the index or its data file is missing or unreadable.
    static std::shared_ptr<PTDCDictionary> fromIndexFile(const QString& indexPath);

    // The database's own description of itself, else the file's stem.
    QString name() const { return name_; }
    // The database's file stem, the name dictd serves it under.
    QString shortName() const { return shortName_; }

    // The definitions of the term at the start of the text, in index order: nothing when the text holds no word,
    // an empty list when the dictionary has no entry for it.
    std::optional<QList<PTDCDictionaryEntry>> entriesForSearchTerm(const QString& text) const;

private:
    PTDCDictionary(pt::DictdIndex index, pt::DictdDataFile data, QString stem);

    // The longest run of leading words that is a headword, else the first word.
    std::optional<QString> termIn(const QString& text) const;
    QString ownDescription() const;

    pt::DictdIndex index_;
    pt::DictdDataFile data_;
    QString name_;
    QString shortName_;
};
