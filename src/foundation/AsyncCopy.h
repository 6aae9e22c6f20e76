#pragma once

#include "platform/runtime/Error.h"

#include <functional>

// Copying a file or a whole folder in the background, as the library backup does.
namespace asyncCopy {

inline const QString ErrorDomain = QStringLiteral("PTFileCopyErrorDomain"); // codes are errno values

enum class Stage { Undefined = 0, Preflighting = 1, Running = 2, Complete = 3 };
enum class Outcome { Pending, Done, Cancelled, Failed };

struct CopyStatus {
    Stage stage = Stage::Undefined;
    qint64 objectsCompleted = 0;
    qint64 totalObjects = 0;
    Outcome outcome = Outcome::Pending; // set on the Complete report
    pt::Error error;                    // with Outcome::Failed
};

using StatusHandler = std::function<void(const CopyStatus&)>;
using CancelBlock = std::function<void()>;

// True when either path is the other or lies inside it, links resolved: a copy between the two would copy a
// folder into itself, or replace the folder that holds its own source and so delete the source.
bool pathsOverlap(const QString& first, const QString& second);

// Copies source (a file, a link or a folder tree) to destination, the full path of the copy, whose parent
// folder must exist. Reports arrive on the main queue: Preflighting at the start, Running at most once a
// second, and exactly one Complete carrying the outcome. Links are copied as links. The copy is made beside
// the destination and moved into place only when whole, replacing what was there; a cancelled or failed copy
// leaves the destination as it was. When the copy cannot start, the error comes back at once and no report
// follows; so it does when the two paths overlap. The cancel block may be called from any thread, also after the end (then it does nothing).
pt::Result<CancelBlock> asynchronousCopyFileAtPath(const QString& source, const QString& destination,
                                                   StatusHandler handler);

} // namespace asyncCopy
