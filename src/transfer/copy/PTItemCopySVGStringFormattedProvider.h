#pragma once

#include "transfer/copy/PTItemCopyProvider.h"

// "SVG Inline Code": SVG icons as text. The file's XML as it parses, on as few lines as it was written.
class PTItemCopySVGStringFormattedProvider : public PTItemCopyProvider {
public:
    QString title() const override { return QStringLiteral("SVG Inline Code"); }
    QList<qint64> compatibleTypes() const override;
    int group() const override { return 10; }

protected:
    std::optional<QString> stringForData(const QByteArray& data, const PTItem& item) const override;
};
