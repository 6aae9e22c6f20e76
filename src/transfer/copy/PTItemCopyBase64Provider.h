#pragma once

#include "transfer/copy/PTItemCopyProvider.h"

// "Base 64 Encoded String": SVG, PNG and GIF icons as data URIs ("data:image/png;base64,...").
class PTItemCopyBase64Provider : public PTItemCopyProvider {
public:
    QString title() const override { return QStringLiteral("Base 64 Encoded String"); }
    QList<qint64> compatibleTypes() const override;
    int group() const override { return 0; }

protected:
    std::optional<QString> stringForData(const QByteArray& data, const PTItem& item) const override;
};
