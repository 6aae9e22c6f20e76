#include "svg/model/PTSVGTransform.h"

#include "svg/PTSVGUtils.h"

#include <QRegularExpression>

#include <cmath>

namespace {

QString g(double value)
{
    return PTSVGShortFloatString(value);
}

QString scaleString(double sx, double sy)
{
    return sx == sy ? QStringLiteral("scale(%1)").arg(g(sx)) : QStringLiteral("scale(%1, %2)").arg(g(sx), g(sy));
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
    const double a = m.m11(), b = m.m12(), c = m.m21(), d = m.m22(), tx = m.dx(), ty = m.dy();
    double sx = std::sqrt(float(a * a + b * b));
    double sy = (a * d - b * c) / sx;
    const double colsSum = a * c + b * d;
    const double rowsSum = a * b + c * d;
    const bool scaleBefore = rowsSum != 0 || sx == sy;
    QStringList list;
    const bool translated = tx != 0 || ty != 0;
    if (translated)
        list << QStringLiteral("translate(%1, %2)").arg(g(tx), g(ty));
    if (b == 0 && c != 0) {
        list << QStringLiteral("skewX(%1)").arg(g(PTSVGAtanDegrees(c / sy)));
    } else if (b != 0 && c == 0) {
        list << QStringLiteral("skewY(%1)").arg(g(PTSVGAtanDegrees(b / a)));
        sx = a;
        sy = d;
    } else if (colsSum == 0 || (float(sx) == 1 && sy == 1) || !scaleBefore) {
        if (!scaleBefore) {
            sx = (a < 0 ? -1 : 1) * std::sqrt(float(a * a + c * c));
            sy = (d < 0 ? -1 : 1) * std::sqrt(float(b * b + d * d));
            list << scaleString(sx, sy);
        }
        double angle = PTSVGAcosDegrees(a / sx);
        if (b * sy < 0)
            angle = -angle;
        QString rotate = angle != 0 ? QStringLiteral("rotate(%1)").arg(g(angle)) : QString();
        if (rowsSum != 0 && colsSum != 0)
            list << QStringLiteral("skewX(%1)").arg(g(PTSVGAtanDegrees(colsSum / (sx * sx))));
        if (angle != 0 && translated) {
            list.removeFirst();
            const double cosine = a / sx;
            const double sine = scaleBefore ? b / sx : b / sy;
            const double x = scaleBefore ? tx : tx * sy;
            const double y = scaleBefore ? ty : ty * sx;
            const double denom = double(float((1 - cosine) * (1 - cosine)) + float(sine * sine)) * (scaleBefore ? 1 : sx * sy);
            const double cx = ((1 - cosine) * x - sine * y) / denom;
            const double cy = ((1 - cosine) * y + sine * x) / denom;
            rotate = QStringLiteral("rotate(%1, %2, %3)").arg(g(angle), g(cx), g(cy));
        }
        if (!rotate.isEmpty())
            list << rotate;
    }
    if ((scaleBefore && (sx != 1 || sy != 1)) || list.isEmpty())
        list << scaleString(sx, sy);
    return list;
}

QTransform PTSVGConcatTransforms(const std::vector<PTSVGTransform>& transforms)
{
    QTransform result;
    for (auto it = transforms.rbegin(); it != transforms.rend(); ++it)
        result = result * it->matrix();
    return result;
}
