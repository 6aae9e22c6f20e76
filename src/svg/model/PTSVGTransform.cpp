#include "svg/model/PTSVGTransform.h"

#include "svg/PTSVGUtils.h"
#include "svg/model/PTSVGPath.h"

#include <QRectF>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

QString g(double value)
{
    return PTSVGShortFloatString(value);
}

// Translate, skew, rotation and scale texts that read back as the matrix for the usual cases; *finite turns false
// when a number could not be printed.
QStringList readableDecomposition(const QTransform& m, bool* finite)
{
    const auto number = [finite](double value) {
        *finite = *finite && std::isfinite(value);
        return PTSVGShortFloatString(value);
    };
    const auto scaleString = [&number](double sx, double sy) {
        return sx == sy ? QStringLiteral("scale(%1)").arg(number(sx))
                        : QStringLiteral("scale(%1, %2)").arg(number(sx), number(sy));
    };
    const double a = m.m11(), b = m.m12(), c = m.m21(), d = m.m22(), tx = m.dx(), ty = m.dy();
    double sx = std::sqrt(float(a * a + b * b));
    double sy = (a * d - b * c) / sx;
    const double colsSum = a * c + b * d;
    const double rowsSum = a * b + c * d;
    const bool scaleBefore = rowsSum != 0 || sx == sy;
    QStringList list;
    const bool translated = tx != 0 || ty != 0;
    if (translated)
        list << QStringLiteral("translate(%1, %2)").arg(number(tx), number(ty));
    if (b == 0 && c != 0) {
        list << QStringLiteral("skewX(%1)").arg(number(PTSVGAtanDegrees(c / sy)));
    } else if (b != 0 && c == 0) {
        list << QStringLiteral("skewY(%1)").arg(number(PTSVGAtanDegrees(b / a)));
        sx = a;
        sy = d;
    } else if (colsSum == 0 || (float(sx) == 1 && sy == 1) || !scaleBefore) {
        if (!scaleBefore) {
            sx = (a < 0 ? -1 : 1) * std::sqrt(float(a * a + c * c));
            sy = (d < 0 ? -1 : 1) * std::sqrt(float(b * b + d * d));
            list << scaleString(sx, sy);
        }
        // The sine's sign: b over the positive sx when the scale comes last, b over sy when it comes first.
        double angle = PTSVGAcosDegrees(a / sx);
        if ((scaleBefore ? b : b * sy) < 0)
            angle = -angle;
        QString rotate = angle != 0 ? QStringLiteral("rotate(%1)").arg(number(angle)) : QString();
        // The skew applies to the content before the rotation, so it is written after it.
        const QString skew = rowsSum != 0 && colsSum != 0
            ? QStringLiteral("skewX(%1)").arg(number(PTSVGAtanDegrees(colsSum / (sx * sx))))
            : QString();
        if (angle != 0 && translated) {
            list.removeFirst();
            const double cosine = a / sx;
            const double sine = scaleBefore ? b / sx : b / sy;
            const double x = scaleBefore ? tx : tx * sy;
            const double y = scaleBefore ? ty : ty * sx;
            const double denom =
                double(float((1 - cosine) * (1 - cosine)) + float(sine * sine)) * (scaleBefore ? 1 : sx * sy);
            const double cx = ((1 - cosine) * x - sine * y) / denom;
            const double cy = ((1 - cosine) * y + sine * x) / denom;
            rotate = QStringLiteral("rotate(%1, %2, %3)").arg(number(angle), number(cx), number(cy));
        }
        if (!rotate.isEmpty())
            list << rotate;
        if (!skew.isEmpty())
            list << skew;
    }
    if ((scaleBefore && (sx != 1 || sy != 1)) || list.isEmpty())
        list << scaleString(sx, sy);
    return list;
}

// Equal within what six significant digits of printed numbers keep: the linear part against its largest entry, the
// translation against its own larger entry or one unit.
bool samePrintedMatrix(const QTransform& actual, const QTransform& expected)
{
    const auto near = [](double x, double y, double size) { return std::abs(x - y) <= 1e-4 * size; };
    const double linear = std::max({std::abs(expected.m11()), std::abs(expected.m12()), std::abs(expected.m21()),
                                    std::abs(expected.m22())});
    const double shift = std::max({1.0, std::abs(expected.dx()), std::abs(expected.dy())});
    return near(actual.m11(), expected.m11(), linear) && near(actual.m12(), expected.m12(), linear)
        && near(actual.m21(), expected.m21(), linear) && near(actual.m22(), expected.m22(), linear)
        && near(actual.dx(), expected.dx(), shift) && near(actual.dy(), expected.dy(), shift);
}

} // namespace

PTSVGTransform::PTSVGTransform(Command command, std::vector<double> parameters)
    : command_(command), parameters_(std::move(parameters)), sort_(sortForTransformCommand(command))
{
}

std::vector<PTSVGTransform> PTSVGTransform::transformsForString(QStringView text)
{
    // One per thread: documents parse on worker threads, and a shared expression is only reentrant.
    thread_local const QRegularExpression pattern(QStringLiteral("([a-zA-Z]+)\\((.*?)\\)"));
    std::vector<PTSVGTransform> transforms;
    auto it = pattern.globalMatch(text);
    while (it.hasNext()) {
        const auto match = it.next();
        const Command command = commandForCommandString(match.capturedView(1));
        if (command == Unknown)
            continue;
        transforms.emplace_back(command, PTSVGUtils::scanFloatsFromString(match.capturedView(2)));
    }
    return transforms;
}

PTSVGTransform::Command PTSVGTransform::commandForCommandString(QStringView name)
{
    const QString lower = name.toString().toLower();
    if (lower == u"matrix")
        return Matrix;
    if (lower == u"translate")
        return Translate;
    if (lower == u"scale")
        return Scale;
    if (lower == u"skewx")
        return SkewX;
    if (lower == u"skewy")
        return SkewY;
    if (lower == u"rotate")
        return Rotate;
    return Unknown;
}

int PTSVGTransform::sortForTransformCommand(Command command)
{
    switch (command) {
    case Matrix:
        return 2;
    case Translate:
        return -1;
    case Scale:
        return 0;
    case Rotate:
        return 1;
    default:
        return 10;
    }
}

PTSVGTransform PTSVGTransform::transformByTranslatingX(double x, double y)
{
    return PTSVGTransform(Translate, {x, y});
}

QTransform PTSVGTransform::matrixWithModifier(const Modifier& modifier) const
{
    // Numbers are read one at a time, in written order, so a modifier sees them in that order.
    const auto modified = [&](double value, int axis) { return modifier ? modifier(axis, value) : value; };
    const auto number = [&](size_t index, int axis) { return modified(parameter(index), axis); };
    const auto rotation = [](double degrees) {
        const double radians = PTSVGDegreesToRadians(degrees);
        return QTransform(std::cos(radians), std::sin(radians), -std::sin(radians), std::cos(radians), 0, 0);
    };
    switch (command_) {
    case Matrix: {
        double p[6];
        for (size_t i = 0; i < 6; ++i)
            p[i] = number(i, int(std::min<size_t>(i, 2)));
        return QTransform(p[0], p[1], p[2], p[3], p[4], p[5]);
    }
    case Translate: {
        const double x = number(0, 0);
        return QTransform::fromTranslate(x, number(1, 1));
    }
    case Scale: {
        const double x = number(0, 0);
        const double y = modified(parameters_.size() > 1 ? parameter(1) : parameter(0), 1);
        return QTransform::fromScale(x, y);
    }
    case Rotate: {
        if (parameters_.size() <= 1)
            return rotation(parameter(0));
        const double angle = number(0, 0);
        const double cx = number(1, 1);
        const double cy = number(2, 2);
        return QTransform::fromTranslate(-cx, -cy) * rotation(angle) * QTransform::fromTranslate(cx, cy);
    }
    case SkewX:
        return QTransform(1, 0, std::tan(PTSVGDegreesToRadians(number(0, 0))), 1, 0, 0);
    case SkewY:
        return QTransform(1, std::tan(PTSVGDegreesToRadians(number(0, 0))), 0, 1, 0, 0);
    case Unknown:
        break;
    }
    return {};
}

QString PTSVGTransform::affineTransformToSVGMatrixString(const QTransform& m)
{
    return QStringLiteral("matrix(%1,%2,%3,%4,%5,%6)")
        .arg(g(m.m11()), g(m.m12()), g(m.m21()), g(m.m22()), g(m.dx()), g(m.dy()));
}

QStringList PTSVGTransform::affineTransformToSVGTransformAttributeString(const QTransform& m)
{
    bool finite = true;
    const QStringList list = readableDecomposition(m, &finite);
    // General shears, flattening matrices and rounding that leaves no exact rotation have no readable list that
    // stands for them: those are written as the matrix itself.
    if (!finite || !samePrintedMatrix(PTSVGConcatTransforms(transformsForString(list.join(QLatin1Char(' ')))), m))
        return {affineTransformToSVGMatrixString(m)};
    return list;
}

std::vector<PTSVGTransform> PTSVGTransform::transformsFromAffineTransform(const QTransform& matrix)
{
    return transformsForString(PTSVGTransformAttributeString(matrix));
}

PTSVGBezierPath PTSVGTransform::transformedPath(const PTSVGPath& node)
{
    PTSVGBezierPath path = node.path();
    path.transform(PTSVGConcatTransforms(node.transforms()));
    return path;
}

void PTSVGTransform::recalculateWithBounds(const QRectF& bounds)
{
    if (command_ != Rotate || parameters_.size() <= 1)
        return;
    const double side = std::max(bounds.width(), bounds.height());
    for (size_t i = 1; i < std::min<size_t>(parameters_.size(), 3); ++i)
        parameters_[i] *= side;
}

QTransform PTSVGConcatTransforms(const std::vector<PTSVGTransform>& transforms)
{
    QTransform result;
    for (auto it = transforms.rbegin(); it != transforms.rend(); ++it)
        result = result * it->matrix();
    return result;
}

QString PTSVGTransformAttributeString(const QTransform& matrix)
{
    return PTSVGTransform::affineTransformToSVGTransformAttributeString(matrix).join(QLatin1Char(' '));
}

QString PTSVGTransformsAttributeString(const std::vector<PTSVGTransform>& transforms)
{
    QStringList parts;
    for (const auto& transform : transforms)
        parts << PTSVGTransformAttributeString(transform.matrix());
    return parts.join(QLatin1Char(' '));
}
