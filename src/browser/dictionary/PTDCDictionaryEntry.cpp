#include "browser/dictionary/PTDCDictionaryEntry.h"

#include "browser/dictionary/DictdDataFile.h"
#include "browser/dictionary/DictdIndex.h"

std::optional<PTDCDictionaryEntry> PTDCDictionaryEntry::fromRecord(const pt::DictdRecord& record,
                                                                   const pt::DictdDataFile& data)
{
    const std::optional<QByteArray> bytes = data.read(record.offset, record.length);
    if (!bytes)
        return std::nullopt;
    PTDCDictionaryEntry entry;
    entry.headword_ = record.headword;
    entry.text_ = QString::fromUtf8(*bytes).trimmed();
    // dictd definitions are laid out with spaces and line breaks, which a preformatted block keeps.
    entry.html_ = QStringLiteral("<pre>%1</pre>").arg(entry.text_.toHtmlEscaped());
    return entry;
}
