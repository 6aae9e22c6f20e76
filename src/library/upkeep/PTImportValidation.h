#pragma once

#include <QStringList>

#include <memory>

// What the library asks of the import path when it has to tell whether a file is one the importer would take.
// The import subsystem installs its implementation at start-up; until then nothing is accepted.
class PTImportValidation {
public:
    // Every option bit from 0x2 to 0x10000: what validating drops and opened files uses.
    static constexpr quint64 AllOptions = 0x1FFFE;

    virtual ~PTImportValidation() = default;
    // Those of the paths the importer accepts under the options (accepted files and plain folders).
    virtual QStringList validateURLStrings(const QStringList& paths, quint64 options) const = 0;

    static void install(std::shared_ptr<const PTImportValidation> validation);
    static std::shared_ptr<const PTImportValidation> installed();
};
