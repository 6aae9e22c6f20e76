#include "platform/runtime/Error.h"

namespace pt {

Error::Error(QString domain, qint64 code, QVariantMap userInfo)
    : domain(std::move(domain)), code(code), userInfo(std::move(userInfo))
{
}

Error Error::withDescription(const QString& domain, qint64 code, const QString& description,
                             const QString& failureReason)
{
    QVariantMap info{{LocalizedDescriptionKey, description}};
    if (!failureReason.isEmpty())
        info.insert(LocalizedFailureReasonKey, failureReason);
    return Error(domain, code, info);
}

QString Error::localizedDescription() const
{
    const QString text = userInfo.value(LocalizedDescriptionKey).toString();
    if (!text.isEmpty())
        return text;
    return QStringLiteral("The operation couldn\u2019t be completed. (%1 error %2.)").arg(domain).arg(code);
}

QString Error::localizedFailureReason() const
{
    return userInfo.value(LocalizedFailureReasonKey).toString();
}

QString Error::toString() const
{
    return QStringLiteral("%1 %2: %3").arg(domain).arg(code).arg(localizedDescription());
}

} // namespace pt
