#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTransform>

class PTSVGBezierPath;
class PTSVGPath;
class QRectF;

#include <functional>
#include <vector>

// One entry of an SVG transform list: its kind and the numbers as written. Matrices are QTransform, whose
// (m11, m12, m21, m22, dx, dy) are SVG's (a, b, c, d, e, f) and whose product a * b applies a first.
class PTSVGTransform {
public:
    enum Command { Matrix = 0, Translate = 1, Scale = 2, Rotate = 3, SkewX = 4, SkewY = 5, Unknown = 6 };

    PTSVGTransform(Command command, std::vector<double> parameters);

    // Every known transform of the text, in written order; unknown names are skipped.
    static std::vector<PTSVGTransform> transformsForString(QStringView text);
    static Command commandForCommandString(QStringView name);
    // Ordering weight of a kind: translate -1, scale 0, rotate 1, matrix 2, skews 10.
    static int sortForTransformCommand(Command command);
    static PTSVGTransform transformByTranslatingX(double x, double y);
    // "matrix(a,b,c,d,e,f)".
    static QString affineTransformToSVGMatrixString(const QTransform& matrix);
    // A readable decomposition of a matrix into translate/rotate/skew/scale texts.
    static QStringList affineTransformToSVGTransformAttributeString(const QTransform& matrix);
    // The decomposition of a matrix as transforms.
    static std::vector<PTSVGTransform> transformsFromAffineTransform(const QTransform& matrix);
    // A copy of the node's path moved by the node's transforms, as the node is drawn.
    static PTSVGBezierPath transformedPath(const PTSVGPath& node);

    Command command() const { return command_; }
    const std::vector<double>& parameters() const { return parameters_; }
    int sort() const { return sort_; }
    // Takes (axis, number) and answers the number to use: axis 0 and 1 for the first two numbers, 2 for the rest.
    using Modifier = std::function<double(int axis, double value)>;

    // The matrix this entry stands for; numbers it lacks read as 0 (scale's second as its first).
    QTransform matrix() const { return matrixWithModifier({}); }
    // The same with each number passed through the modifier first, in written order; a rotation about the origin
    // passes none.
    QTransform matrixWithModifier(const Modifier& modifier) const;
    // This transform applied to content before the given matrix.
    QTransform stackIdentity(const QTransform& matrix) const { return this->matrix() * matrix; }
    // For a centre given relative to a box: a rotation about a point has its centre scaled by the box's larger
    // side. Other transforms are left alone.
    void recalculateWithBounds(const QRectF& bounds);

    friend bool operator==(const PTSVGTransform&, const PTSVGTransform&) = default;

private:
    double parameter(size_t index) const { return index < parameters_.size() ? parameters_[index] : 0.0; }

    Command command_;
    std::vector<double> parameters_;
    int sort_;
};

// Folds a transform list into one matrix the way SVG reads it: the last entry applies to the content first, so
// "translate(10) scale(2)" scales and then translates.
QTransform PTSVGConcatTransforms(const std::vector<PTSVGTransform>& transforms);
// The decomposition of the matrix as one attribute text.
QString PTSVGTransformAttributeString(const QTransform& matrix);
// The decomposition of each transform's own matrix, joined into one attribute text.
QString PTSVGTransformsAttributeString(const std::vector<PTSVGTransform>& transforms);
