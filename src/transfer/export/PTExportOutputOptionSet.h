#pragma once

#include "platform/runtime/Error.h"
#include "transfer/export/PTExportOutputOption.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

// A preset: a named list of export outputs, with nested sets for the built-ins' sub-presets. A plain value; a
// preset file ("ptpreset") is a keyed archive of its name, identifier and outputs (subsets are not written).
class PTExportOutputOptionSet {
public:
    static inline const QString ClassName = QStringLiteral("PTExportOutputOptionSet");
    static inline const QString Extension = QStringLiteral("ptpreset");
    // Preset files from outside are refused above this size.
    static constexpr qint64 MaximumFileSize = 4 * 1024 * 1024;

    // A new set with a fresh identifier.
    PTExportOutputOptionSet();

    QString name;
    QString identifier;
    qint64 sort = 0;
    // The preset file it was read from or saved to; empty for unsaved and built-in sets.
    QString filePath;

    const QList<PTExportOutputOption>& outputOptions() const { return options_; }
    QList<PTExportOutputOption>& mutableOutputOptions() { return options_; }
    void addOutputOption(const PTExportOutputOption& option) { options_.append(option); }
    // Removes every output whose settings equal the option's.
    void removeOutputOption(const PTExportOutputOption& option);
    void removeAllOptions() { options_.clear(); }
    const QList<PTExportOutputOptionSet>& subsets() const { return subsets_; }
    void addSubset(const PTExportOutputOptionSet& subset) { subsets_.append(subset); }
    // Removes every subset equal to this one.
    void removeSubset(const PTExportOutputOptionSet& subset);

    // Same name, identifier, sort, outputs (by their settings) and subsets; where a file lies takes no part.
    bool equalsSet(const PTExportOutputOptionSet& other) const;

    void refreshIdentifier();
    // A copy that belongs to no file.
    PTExportOutputOptionSet copy() const;

    // True when one of the set's own outputs is JPG or WebP; JPG alone for the progressive control.
    bool requiresCompressionControl() const;
    bool requiresProgressiveControl() const;

    // The set archived inside another archive: its outputs and subsets only ("options", "subsets"); name,
    // identifier and sort are not written. Read back, a missing list is an empty one and the name and identifier
    // stay empty; anything that is not such an object reads as nothing.
    QVariant archivedObject() const;
    static std::optional<PTExportOutputOptionSet> fromArchivedObject(const QVariant& object);

    // The preset file's bytes (a binary property list).
    QByteArray data() const;
    // Reads a preset file: its extension must be "ptpreset" (in any case) and its contents an archive of a preset. Hostile
    // archives (references out of range, cycles, deep nesting, truncation, oversize) are errors.
    static pt::Result<PTExportOutputOptionSet> fromFile(const QString& path);

private:
    QList<PTExportOutputOption> options_;
    QList<PTExportOutputOptionSet> subsets_;
};

Q_DECLARE_METATYPE(PTExportOutputOptionSet)
