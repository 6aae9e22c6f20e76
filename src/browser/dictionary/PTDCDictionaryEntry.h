#pragma once

#include <QString>

#include <optional>

namespace pt {
class DictdDataFile;
struct DictdRecord;
}

// One definition found in a dictionary: its headword, its text, and the text as a small HTML fragment.
class PTDCDictionaryEntry {
public:
    // Empty when the record's definition cannot be read from the data file.
    static std::optional<PTDCDictionaryEntry> fromRecord(const pt::DictdRecord& record, const pt::DictdDataFile& data);

    QString headword() const { return headword_; }
    QString text() const { return text_; }
    QString HTML() const { return html_; }

private:
    QString headword_;
    QString text_;
    QString html_;
};
