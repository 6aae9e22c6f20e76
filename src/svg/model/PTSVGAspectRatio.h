#pragma once

#include <QRectF>
#include <QString>
#include <QStringView>
#include <QTransform>

// The preserveAspectRatio of an svg or image element: how a view box (or an image) is fitted into its viewport.
// The default is xMidYMid meet: the aspect ratio kept, the whole shown, centred.
class PTSVGAspectRatio {
public:
    enum class Align { Min, Mid, Max };

    // Unknown text gives the default.
    static PTSVGAspectRatio fromString(QStringView text);

    // The attribute text ("xMidYMid", "xMinYMax slice", "none").
    QString toString() const;

    bool preserves() const { return preserve_; }
    bool slices() const { return slice_; }

    // The transform that maps the source rectangle onto the viewport.
    QTransform transform(const QRectF& source, const QRectF& viewport) const;
    // Where a source of that size lands in the viewport.
    QRectF fittedRect(const QSizeF& source, const QRectF& viewport) const;

    friend bool operator==(const PTSVGAspectRatio&, const PTSVGAspectRatio&) = default;

private:
    bool preserve_ = true;
    bool slice_ = false;
    Align alignX_ = Align::Mid;
    Align alignY_ = Align::Mid;
};
