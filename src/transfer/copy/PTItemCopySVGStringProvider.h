#pragma once

#include "transfer/copy/PTItemCopyProvider.h"

// "SVG Formatted Code": SVG icons as text. The file's XML pretty-printed, an element a line.
class PTItemCopySVGStringProvider : public PTItemCopyProvider {
public:
    QString title() const override { return QStringLiteral("SVG Formatted Code"); }
    QList<qint64> compatibleTypes() const override;
    int group() const override { return 10; }

protected:
    std::optional<QString> stringForData(const QByteArray& data, const PTItem& item) const override;
};
