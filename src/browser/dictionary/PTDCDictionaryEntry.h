#pragma once

#include <QList>
#include <QString>

namespace pt {
class DictdDataFile;
struct DictdRecord;
}

// One definition found in a dictionary: its headword, its text, and the text as a small HTML fragment.
class PTDCDictionaryEntry {
public:
    // The entries of the records whose definitions can be read from the data file, in order. The file is read
    // once for them all, however many there are.
    static QList<PTDCDictionaryEntry> fromRecords(const QList<pt::DictdRecord>& records,
                                                  const pt::DictdDataFile& data);

    QString headword() const { return headword_; }
    QString text() const { return text_; }
    QString HTML() const { return html_; }

private:
    QString headword_;
    QString text_;
    QString html_;
};
