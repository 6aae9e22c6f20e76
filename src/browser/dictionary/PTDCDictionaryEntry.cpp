#include "browser/dictionary/PTDCDictionaryEntry.h"

#include "browser/dictionary/DictdDataFile.h"
#include "browser/dictionary/DictdIndex.h"

QList<PTDCDictionaryEntry> PTDCDictionaryEntry::fromRecords(const QList<pt::DictdRecord>& records,
                                                             const pt::DictdDataFile& data)
{
    const QList<std::optional<QByteArray>> definitions = data.read(records);
    QList<PTDCDictionaryEntry> entries;
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (!definitions[i])
            continue;
        PTDCDictionaryEntry entry;
        entry.headword_ = records[i].headword;
        entry.text_ = QString::fromUtf8(*definitions[i]).trimmed();
        // dictd definitions are laid out with spaces and line breaks, which a preformatted block keeps.
        entry.html_ = QStringLiteral("<pre>%1</pre>").arg(entry.text_.toHtmlEscaped());
        entries.append(std::move(entry));
    }
    return entries;
}
