#include "svg/model/PTSVGImage.h"

#include "platform/layers/Layer.h"
#include "platform/runtime/Logging.h"

#include <QByteArray>
#include <QRegularExpression>

std::shared_ptr<PTSVGNode> PTSVGImage::clone() const
{
    auto copy = std::make_shared<PTSVGImage>();
    copy->applyPropertiesFromNode(*this);
    copy->image_ = image_;
    return copy;
}

void PTSVGImage::loadFromBase64EncodedString(const QString& uri)
{
    QString text = uri.trimmed();
    if (!text.startsWith(u"data:", Qt::CaseInsensitive)) {
        qCDebug(lcSvg) << "image reference ignored: only data URIs load";
        return;
    }
    text.remove(QRegularExpression(QStringLiteral("\\s+")));
    const qsizetype comma = text.indexOf(u',');
    if (comma < 0)
        return;
    const QStringView header = QStringView(text).mid(5, comma - 5);
    const QByteArray payload = text.mid(comma + 1).toLatin1();
    const QByteArray data = header.endsWith(u";base64", Qt::CaseInsensitive)
        ? QByteArray::fromBase64(payload)
        : QByteArray::fromPercentEncoding(payload);
    QImage image;
    // Kept in the format the layers draw without converting, once for every document sharing the tree.
    if (image.loadFromData(data))
        image_ = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

PTSVGBezierPath PTSVGImage::path() const
{
    PTSVGBezierPath rect;
    rect.appendRect(QRectF(0, 0, width() ? width()->value() : 0, height() ? height()->value() : 0));
    return rect;
}

void PTSVGImage::drawInContext(cairo_t* cr, const PTSVGBezierPath* path) const
{
    if (!width() || !height() || width()->value() == 0 || height()->value() == 0)
        return;
    pt::drawImage(cr, image_, path ? path->bounds() : this->path().bounds());
}
