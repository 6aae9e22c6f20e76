#pragma once

#include <QString>

#include <functional>

class PTFileNamer;

// Copies a file into a folder under a safe name that no other copy takes at the same time: the file is created
// exclusively under the name chosen, then the bytes follow.
class PTBundleFileCopy {
public:
    // Told each path the copy is about to create, before the file is made (a name then found taken is told too).
    using Creating = std::function<void(const QString& path)>;

    // The name the copy got inside the folder (made safe and unique from `name`); empty when the source could
    // not be read or the copy failed, in which case nothing is left behind and *error (when given) says why.
    // A job copying many files names them through its own namer, when given.
    static QString copyIntoFolder(const QString& source, const QString& name, const QString& folder,
                                  QString* error = nullptr, PTFileNamer* namer = nullptr,
                                  const Creating& creating = nullptr);
};
