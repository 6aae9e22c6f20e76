#include "transfer/export/PTExportOutputOption.h"

#include "foundation/Rounding.h"
#include "platform/plist/KeyedArchive.h"
#include "svg/PTSVGUtils.h"

#include <cmath>

namespace {

const QString kSizeFormat = QStringLiteral("sizeFormat");
const QString kQuality = QStringLiteral("quality");
const QString kFillColor = QStringLiteral("fillColor");
const QString kBackgroundColor = QStringLiteral("backgroundColor");
const QString kFormat = QStringLiteral("format");
const QString kTrimWhitespace = QStringLiteral("trimWhitespace");
const QString kPrefix = QStringLiteral("prefix");
const QString kSuffix = QStringLiteral("suffix");
const QString kEnabled = QStringLiteral("enabled");
const QString kProgressive = QStringLiteral("progressive");
const QString kReplacementColors = QStringLiteral("replacementColors");

// "%g" of a scale, without the C library's locale.
QString scaleText(double scale)
{
    return QString::number(scale, 'g', 6);
}

bool blankEqual(const QString& a, const QString& b)
{
    const QString ta = a.trimmed(), tb = b.trimmed();
    if (ta.isEmpty() || tb.isEmpty())
        return ta.isEmpty() && tb.isEmpty();
    return a == b;
}

QSizeF rounded(QSizeF size)
{
    return {double(PTRoundFloat(float(size.width()))), double(PTRoundFloat(float(size.height())))};
}

QVariant colorOrNil(const QColor& color)
{
    return color.isValid() ? pt::KeyedArchive::colorObject(color) : QVariant();
}

QColor colorFrom(const QVariant& object)
{
    return pt::KeyedArchive::colorFromObject(object).value_or(QColor());
}

} // namespace

QSizeF PTExportOutputOption::proposedSizeFromOriginalSize(QSizeF original)
{
    // A text without any number (blank ones too) reads as "1x".
    QString text = sizeFormat.trimmed();
    std::vector<double> numbers = PTSVGUtils::scanFloatsFromString(text);
    if (numbers.empty()) {
        text = QStringLiteral("1x");
        numbers = {1.0};
    }
    const QChar last = text.back().toLower();
    const double a = numbers[0];
    const double w0 = original.width(), h0 = original.height();
    proposedSizeFormat = Explicit;
    double w = 0, h = 0;
    if (numbers.size() == 2) {
        w = a;
        h = numbers[1];
    } else if (text.endsWith(QLatin1String("px"))) {
        w = h = a;
    } else if (last == u'h') {
        h = a;
        w = h0 > 0 ? std::ceil(a / h0 * w0) : 0;
    } else if (last == u'w') {
        w = a;
        h = w0 > 0 ? std::ceil(a / w0 * h0) : 0;
    } else if (last == u'x') {
        w = w0 * a;
        h = h0 * a;
        proposedSizeFormat = Scaled;
        if (suffix.isEmpty() && a != 1.0) {
            suffix = QLatin1Char('@') + scaleText(a) + QLatin1Char('x');
            proposedSizeFormat = ScaledWithSuffix;
        }
    } else {
        w = h = a;
    }
    return constrainSize(rounded({w, h}));
}

void PTExportOutputOption::setProposedSize(QSizeF size)
{
    proposedSize_ = size;
    calculateSuffix();
}

void PTExportOutputOption::setAutoAppendProposedSizeSuffix(bool on)
{
    autoAppend_ = on;
    if (on)
        calculateSuffix();
}

void PTExportOutputOption::calculateSuffix()
{
    if (!autoAppend_)
        return;
    if (proposedSize_.isNull() || proposedSizeFormat == Scaled)
        suffix = QString();
    else if (proposedSizeFormat == ScaledWithSuffix)
        suffix = QLatin1Char('@') + sizeFormat;
    else
        suffix = QStringLiteral("@%1x%2").arg(qint64(proposedSize_.width())).arg(qint64(proposedSize_.height()));
}

QSizeF PTExportOutputOption::constrainSize(QSizeF size) const
{
    if (format == PTExportFormatICO) {
        const double side = std::max(std::min(size.width(), MaximumICOSide), std::min(size.height(), MaximumICOSide));
        size = {side, side};
    }
    return rounded(size);
}

bool PTExportOutputOption::isWritableSize(QSizeF size)
{
    const auto inRange = [](double side) { return side >= MinimumSide && side <= MaximumSide; };
    return inRange(size.width()) && inRange(size.height());
}

bool PTExportOutputOption::equalsOption(const PTExportOutputOption& other) const
{
    return quality == other.quality && fillColor == other.fillColor && backgroundColor == other.backgroundColor
           && format == other.format && trimWhitespace == other.trimWhitespace
           && blankEqual(sizeFormat, other.sizeFormat) && blankEqual(prefix, other.prefix)
           && blankEqual(suffix, other.suffix) && enabled == other.enabled && progressive == other.progressive
           && replacementColors == other.replacementColors;
}

QVariant PTExportOutputOption::archivedObject() const
{
    QVariantMap fields{{pt::KeyedArchive::ClassesKey, QStringList{ClassName, QStringLiteral("NSObject")}},
                       {kQuality, double(float(quality))},
                       {kFormat, format},
                       {kTrimWhitespace, trimWhitespace},
                       {kEnabled, enabled},
                       {kProgressive, progressive}};
    const auto putObject = [&fields](const QString& key, const QVariant& value) {
        if (value.isValid())
            fields.insert(key, value);
    };
    putObject(kSizeFormat, sizeFormat);
    putObject(kFillColor, colorOrNil(fillColor));
    putObject(kBackgroundColor, colorOrNil(backgroundColor));
    putObject(kPrefix, prefix);
    putObject(kSuffix, suffix);
    if (replacementColors) {
        QVariantList keys, values;
        for (auto it = replacementColors->begin(); it != replacementColors->end(); ++it) {
            keys.append(pt::KeyedArchive::colorObject(QColor::fromRgba(it.key())));
            values.append(pt::KeyedArchive::colorObject(it.value()));
        }
        fields.insert(kReplacementColors, pt::KeyedArchive::dictionaryObject(keys, values));
    }
    return fields;
}

std::optional<PTExportOutputOption> PTExportOutputOption::fromArchivedObject(const QVariant& object)
{
    const QVariantMap fields = object.toMap();
    if (object.typeId() != QMetaType::QVariantMap
        || fields.value(pt::KeyedArchive::ClassesKey).toStringList().value(0) != ClassName)
        return std::nullopt;
    PTExportOutputOption option;
    option.sizeFormat = fields.value(kSizeFormat).toString();
    option.quality = double(fields.value(kQuality).toFloat());
    option.fillColor = colorFrom(fields.value(kFillColor));
    option.backgroundColor = colorFrom(fields.value(kBackgroundColor));
    option.format = fields.value(kFormat).toLongLong();
    option.trimWhitespace = fields.value(kTrimWhitespace).toBool();
    option.prefix = fields.value(kPrefix).toString();
    option.suffix = fields.value(kSuffix).toString();
    option.enabled = fields.value(kEnabled).toBool();
    option.progressive = fields.value(kProgressive).toBool();
    if (const auto pairs = pt::KeyedArchive::dictionaryPairs(fields.value(kReplacementColors))) {
        QHash<QRgb, QColor> colors;
        for (const auto& [key, value] : *pairs) {
            const auto from = pt::KeyedArchive::colorFromObject(key);
            const auto to = pt::KeyedArchive::colorFromObject(value);
            if (from && to)
                colors.insert(from->rgba(), *to);
        }
        option.replacementColors = colors;
    }
    return option;
}
