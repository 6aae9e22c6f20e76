#include "foundation/SystemError.h"

#include <cstring>

pt::Error systemError(const QString& domain, int errorNumber, const QString& path)
{
    return pt::Error(domain, errorNumber,
                     {{pt::Error::LocalizedDescriptionKey, QString::fromLocal8Bit(std::strerror(errorNumber))},
                      {pt::Error::FilePathKey, path}});
}
