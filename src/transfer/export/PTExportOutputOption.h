#pragma once

#include <QColor>
#include <QHash>
#include <QSizeF>
#include <QString>
#include <QVariant>

#include <optional>

// The file formats an export writes; the number is what presets store.
enum PTExportFormat : qint64 {
    PTExportFormatPNG = 0,
    PTExportFormatJPG = 1,
    PTExportFormatGIF = 2,
    PTExportFormatTIFF = 3,
    PTExportFormatWebP = 4,
    PTExportFormatPDF = 5,
    PTExportFormatSVG = 6,
    PTExportFormatOriginal = 7,
    PTExportFormatICO = 8,
    PTExportFormatEPS = 9,
};

// One output of an export: format, size text, file-name prefix and suffix, colours and quality. It also works
// out, one source at a time, the pixel size of the output and, on request, a size suffix for the file name. A
// plain value: copying gives an independent option (colours are values too).
class PTExportOutputOption {
public:
    static inline const QString ClassName = QStringLiteral("PTExportOutputOption");
    // Sides outside this range are not written: nothing sensible is that small, and larger would exhaust memory.
    static constexpr double MinimumSide = 1;
    static constexpr double MaximumSide = 16384;
    // ICO holds squares of at most this side.
    static constexpr double MaximumICOSide = 256;

    // How the last proposed size was made.
    enum ProposedSizeFormat : qint64 { Scaled = 0, Explicit = 1, ScaledWithSuffix = 2 };

    bool trimWhitespace = false;
    bool enabled = true;
    bool progressive = false;
    double quality = 1.0;
    qint64 format = PTExportFormatPNG;
    // Invalid means none.
    QColor fillColor;
    QColor backgroundColor;
    QString prefix;
    QString suffix;
    QString sizeFormat;
    // Replacements for SVG sources, key colour to value; none differs from an empty map.
    std::optional<QHash<QRgb, QColor>> replacementColors;
    qint64 proposedSizeFormat = Scaled;

    // The size grammar applied to a source size: "32x32", "64px", "48h", "48w", "2x", "16s"; a text without a
    // number reads as "1x". May set proposedSizeFormat and, for a scale, the suffix. Rounded, then constrained.
    QSizeF proposedSizeFromOriginalSize(QSizeF original);
    QSizeF proposedSize() const { return proposedSize_; }
    // Stores the size, then renews the suffix when auto-append is on.
    void setProposedSize(QSizeF size);
    bool autoAppendProposedSizeSuffix() const { return autoAppend_; }
    void setAutoAppendProposedSizeSuffix(bool on);
    // ICO squares of at most 256; every size rounded to whole pixels.
    QSizeF constrainSize(QSizeF size) const;
    // True when the size can be written: both sides within MinimumSide..MaximumSide.
    static bool isWritableSize(QSizeF size);

    // Equality of the settings; nil and blank texts are equal, working state takes no part.
    bool equalsOption(const PTExportOutputOption& other) const;

    bool requiresCompression() const { return format == PTExportFormatJPG || format == PTExportFormatWebP; }

    // The archived object ("PTExportOutputOption" with its eleven keys) and back. A missing key reads as nil,
    // 0 or NO; anything that is not such an object reads as nothing.
    QVariant archivedObject() const;
    static std::optional<PTExportOutputOption> fromArchivedObject(const QVariant& object);

private:
    void calculateSuffix();

    bool autoAppend_ = false;
    QSizeF proposedSize_;
};

Q_DECLARE_METATYPE(PTExportOutputOption)
