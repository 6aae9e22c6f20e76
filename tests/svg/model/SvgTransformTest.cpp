// Transform lists: parsing, the matrix of each kind, folding in SVG order, the readable decomposition and the
// operations built on them.
#include "svg/model/PTSVGPath.h"
#include "svg/model/PTSVGTransform.h"

#include <gtest/gtest.h>

namespace {

void expectMatrix(const QTransform& actual, const QTransform& expected, const char* what)
{
    const double a[] = {actual.m11(), actual.m12(), actual.m21(), actual.m22(), actual.dx(), actual.dy()};
    const double e[] = {expected.m11(), expected.m12(), expected.m21(), expected.m22(), expected.dx(), expected.dy()};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(a[i], e[i], 1e-9) << what << " component " << i;
}

QTransform fold(QStringView text)
{
    return PTSVGConcatTransforms(PTSVGTransform::transformsForString(text));
}

} // namespace

TEST(SvgTransforms, ListsParseInOrderAndSkipUnknownNames)
{
    const auto list = PTSVGTransform::transformsForString(u"translate(10)scale(2), SKEWX(30) skew(5) perspective(1) rotate(90 10 10)");
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].command(), PTSVGTransform::Translate);
    EXPECT_EQ(list[1].command(), PTSVGTransform::Scale);
    EXPECT_EQ(list[2].command(), PTSVGTransform::SkewX);
    EXPECT_EQ(list[3].command(), PTSVGTransform::Rotate);
    EXPECT_EQ(list[3].parameters(), (std::vector<double>{90, 10, 10}));
    EXPECT_EQ(list[0].sort(), -1);
    EXPECT_EQ(list[2].sort(), 10);
}

TEST(SvgTransforms, MatrixOfEachKind)
{
    struct Case {
        const char16_t* text;
        QTransform matrix;
    };
    const Case cases[] = {
        {u"translate(10)", QTransform::fromTranslate(10, 0)},
        {u"translate(10,-5)", QTransform::fromTranslate(10, -5)},
        {u"scale(2)", QTransform::fromScale(2, 2)},
        {u"scale(2 3)", QTransform::fromScale(2, 3)},
        {u"rotate(90)", QTransform(0, 1, -1, 0, 0, 0)},
        // About (10, 10): the origin goes to (20, 0).
        {u"rotate(90,10,10)", QTransform(0, 1, -1, 0, 20, 0)},
        {u"skewX(45)", QTransform(1, 0, 1, 1, 0, 0)},
        {u"skewY(45)", QTransform(1, 1, 0, 1, 0, 0)},
        {u"matrix(1 2 3 4 5 6)", QTransform(1, 2, 3, 4, 5, 6)},
        // Missing numbers read as 0 and never past the list.
        {u"matrix(1 0 0 1)", QTransform(1, 0, 0, 1, 0, 0)},
        {u"rotate()", QTransform()},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        expectMatrix(fold(c.text), c.matrix, text.toUtf8().constData());
    }
}

TEST(SvgTransforms, ModifierSeesEachNumberWithItsAxis)
{
    struct Case {
        const char16_t* text;
        std::vector<std::pair<int, double>> calls;
        QTransform doubled;
    };
    const Case cases[] = {
        {u"matrix(1 2 3 4 5 6)", {{0, 1}, {1, 2}, {2, 3}, {2, 4}, {2, 5}, {2, 6}}, QTransform(2, 4, 6, 8, 10, 12)},
        {u"translate(3)", {{0, 3}, {1, 0}}, QTransform::fromTranslate(6, 0)},
        // A lone scale number stands for both axes.
        {u"scale(3)", {{0, 3}, {1, 3}}, QTransform::fromScale(6, 6)},
        // Doubled: rotate(90) about (20, 20) takes the origin to (40, 0).
        {u"rotate(45 10 10)", {{0, 45}, {1, 10}, {2, 10}}, QTransform(0, 1, -1, 0, 40, 0)},
        {u"rotate(90)", {}, QTransform(0, 1, -1, 0, 0, 0)},
        {u"skewX(22.5)", {{0, 22.5}}, QTransform(1, 0, 1, 1, 0, 0)},
        {u"skewY(22.5)", {{0, 22.5}}, QTransform(1, 1, 0, 1, 0, 0)},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        const auto transforms = PTSVGTransform::transformsForString(c.text);
        ASSERT_EQ(transforms.size(), 1u) << text.toStdString();
        std::vector<std::pair<int, double>> calls;
        const QTransform doubled = transforms[0].matrixWithModifier([&](int axis, double value) {
            calls.emplace_back(axis, value);
            return value * 2;
        });
        EXPECT_EQ(calls, c.calls) << text.toStdString();
        expectMatrix(doubled, c.doubled, text.toUtf8().constData());
        expectMatrix(transforms[0].matrixWithModifier({}), transforms[0].matrix(), text.toUtf8().constData());
    }
}

TEST(SvgTransforms, ListsFoldWithTheLastEntryApplyingFirst)
{
    // translate(10) scale(2): the point (1, 1) scales to (2, 2), then moves to (12, 2).
    EXPECT_EQ(fold(u"translate(10) scale(2)").map(QPointF(1, 1)), QPointF(12, 2));
    EXPECT_EQ(fold(u"scale(2) translate(10)").map(QPointF(1, 1)), QPointF(22, 2));
    EXPECT_TRUE(PTSVGConcatTransforms({}).isIdentity());
}

TEST(SvgTransforms, PrintingAndDecomposition)
{
    EXPECT_EQ(PTSVGTransform::affineTransformToSVGMatrixString(QTransform(1, 0, 0, 1, 2.5, -3)),
              QStringLiteral("matrix(1,0,0,1,2.5,-3)"));
    EXPECT_EQ(PTSVGTransform::affineTransformToSVGTransformAttributeString(QTransform()),
              QStringList{QStringLiteral("scale(1)")});
    EXPECT_EQ(PTSVGTransform::affineTransformToSVGTransformAttributeString(QTransform(2, 0, 0, 2, 5, 6)),
              (QStringList{QStringLiteral("translate(5, 6)"), QStringLiteral("scale(2)")}));
    EXPECT_EQ(PTSVGTransform::affineTransformToSVGTransformAttributeString(fold(u"rotate(30)")),
              QStringList{QStringLiteral("rotate(30)")});
}

namespace {

// Equal within what six significant digits of printed text keep.
void expectPrintedMatrix(const QTransform& actual, const QTransform& expected, const QString& what)
{
    const double a[] = {actual.m11(), actual.m12(), actual.m21(), actual.m22(), actual.dx(), actual.dy()};
    const double e[] = {expected.m11(), expected.m12(), expected.m21(), expected.m22(), expected.dx(), expected.dy()};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(a[i], e[i], 1e-4 * std::max(1.0, std::abs(e[i]))) << what.toStdString() << " component " << i;
}

} // namespace

TEST(SvgTransforms, ListsRoundTripThroughAttributeTextAndMatrix)
{
    struct Case {
        const char16_t* text;
        // The decomposition of the folded matrix, and the decompositions of each entry joined.
        const char16_t* matrixText;
        const char16_t* entriesText;
    };
    const Case cases[] = {
        {u"", u"scale(1)", u""},
        {u"translate(10)", u"translate(10, 0)", u"translate(10, 0)"},
        {u"translate(10,-5)", u"translate(10, -5)", u"translate(10, -5)"},
        {u"scale(2)", u"scale(2)", u"scale(2)"},
        {u"scale(2 3)", u"scale(2, 3)", u"scale(2, 3)"},
        {u"scale(-1 1)", u"scale(-1, 1)", u"scale(-1, 1)"},
        {u"rotate(30)", u"rotate(30)", u"rotate(30)"},
        {u"rotate(-45)", u"rotate(-45)", u"rotate(-45)"},
        {u"rotate(90 10 10)", u"rotate(90, 10, 10)", u"rotate(90, 10, 10)"},
        {u"rotate(30 10 20)", u"rotate(30, 10, 20)", u"rotate(30, 10, 20)"},
        {u"skewX(30)", u"skewX(30)", u"skewX(30)"},
        {u"skewY(-20)", u"skewY(-20)", u"skewY(-20)"},
        {u"matrix(2 0 0 2 5 6)", u"translate(5, 6) scale(2)", u"translate(5, 6) scale(2)"},
        {u"matrix(0 1 -1 0 0 0)", u"rotate(90)", u"rotate(90)"},
        // No rotation, skew and scale reproduce this matrix: it is printed as it stands.
        {u"matrix(1 2 3 4 5 6)", u"matrix(1,2,3,4,5,6)", u"matrix(1,2,3,4,5,6)"},
        {u"translate(10 20) scale(2)", u"translate(10, 20) scale(2)", u"translate(10, 20) scale(2)"},
        // A translation before a rotation becomes the rotation's centre.
        {u"translate(3 4) rotate(30) scale(2)", u"rotate(30, -5.9641, 7.59808) scale(2)",
         u"translate(3, 4) rotate(30) scale(2)"},
        {u"scale(2 3) rotate(30)", u"scale(2, 3) rotate(30)", u"scale(2, 3) rotate(30)"},
        // The skew applies before the rotation, so it is written after it.
        {u"rotate(45) skewX(30)", u"rotate(45) skewX(30)", u"rotate(45) skewX(30)"},
        {u"translate(4 5) rotate(45) skewX(30)", u"rotate(45, -4.03553, 7.32843) skewX(30)",
         u"translate(4, 5) rotate(45) skewX(30)"},
        // A mirrored scale keeps the rotation's direction.
        {u"rotate(-150) scale(-2 3)", u"rotate(30) scale(2, -3)", u"rotate(-150) scale(-2, 3)"},
        {u"skewX(20) skewY(10)", u"matrix(1.06418,0.176327,0.36397,1,0,0)", u"skewX(20) skewY(10)"},
        // A matrix that flattens everything has no angle to print.
        {u"scale(0)", u"matrix(0,0,0,0,0,0)", u"matrix(0,0,0,0,0,0)"},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        const auto transforms = PTSVGTransform::transformsForString(text);
        const QTransform matrix = PTSVGConcatTransforms(transforms);

        const QString matrixText = PTSVGTransformAttributeString(matrix);
        EXPECT_EQ(matrixText, QString::fromUtf16(c.matrixText)) << text.toStdString();
        expectPrintedMatrix(fold(matrixText), matrix, text + QStringLiteral(" via ") + matrixText);

        const auto parsedBack = PTSVGTransform::transformsFromAffineTransform(matrix);
        EXPECT_EQ(parsedBack, PTSVGTransform::transformsForString(matrixText)) << text.toStdString();
        expectPrintedMatrix(PTSVGConcatTransforms(parsedBack), matrix, text + QStringLiteral(" parsed back"));

        const QString entriesText = PTSVGTransformsAttributeString(transforms);
        EXPECT_EQ(entriesText, QString::fromUtf16(c.entriesText)) << text.toStdString();
        expectPrintedMatrix(fold(entriesText), matrix, text + QStringLiteral(" via ") + entriesText);
    }
}

TEST(SvgTransforms, StackingAppliesTheTransformBeforeTheGivenMatrix)
{
    // Stacking onto the matrix of "translate(5 7) scale(2 3)" draws as that list followed by the transform.
    const QString base = QStringLiteral("translate(5 7) scale(2 3)");
    const char16_t* kinds[] = {u"translate(10 -4)", u"scale(2)", u"rotate(30)", u"rotate(90 10 10)", u"skewX(30)",
                               u"skewY(-20)", u"matrix(1 2 3 4 5 6)"};
    for (const char16_t* kind : kinds) {
        const QString text = QString::fromUtf16(kind);
        const auto transform = PTSVGTransform::transformsForString(text).at(0);
        expectMatrix(transform.stackIdentity(fold(base)), fold(base + u' ' + text), text.toUtf8().constData());
        expectMatrix(transform.stackIdentity(QTransform()), transform.matrix(), text.toUtf8().constData());
    }
}

TEST(SvgTransforms, RecalculatingScalesOnlyARotationCentre)
{
    struct Case {
        const char16_t* text;
        std::vector<double> parameters;
    };
    // The box's larger side is 40.
    const QRectF bounds(3, 3, 40, 20);
    const Case cases[] = {
        {u"rotate(90 0.5 0.25)", {90, 20, 10}},
        {u"rotate(90 0.5)", {90, 20}},
        {u"rotate(90)", {90}},
        {u"translate(0.5 0.25)", {0.5, 0.25}},
        {u"matrix(1 0 0 1 0.5 0.5)", {1, 0, 0, 1, 0.5, 0.5}},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        auto transform = PTSVGTransform::transformsForString(text).at(0);
        transform.recalculateWithBounds(bounds);
        EXPECT_EQ(transform.parameters(), c.parameters) << text.toStdString();
    }
    // The scaled centre is the point the rotation keeps.
    auto rotation = PTSVGTransform::transformsForString(u"rotate(90 0.5 0.25)").at(0);
    rotation.recalculateWithBounds(bounds);
    EXPECT_EQ(rotation.matrix().map(QPointF(20, 10)), QPointF(20, 10));
}

TEST(SvgTransforms, TransformedPathMovesACopyAsTheNodeIsDrawn)
{
    PTSVGPath node;
    node.mutablePath().moveTo({1, 1});
    node.mutablePath().lineTo({2, 1});
    node.mutablePath().quadTo({3, 2}, {4, 1});
    const PTSVGBezierPath original = node.path();

    EXPECT_EQ(PTSVGTransform::transformedPath(node), original);

    // translate(10) scale(2): scaled first, then moved.
    node.setTransforms(PTSVGTransform::transformsForString(u"translate(10) scale(2)"));
    const PTSVGBezierPath moved = PTSVGTransform::transformedPath(node);
    ASSERT_EQ(moved.elements().size(), 3u);
    EXPECT_EQ(moved.elements()[0].points[0], QPointF(12, 2));
    EXPECT_EQ(moved.elements()[1].points[0], QPointF(14, 2));
    EXPECT_EQ(moved.elements()[2].points[0], QPointF(18, 2));
    EXPECT_EQ(moved.elements()[2].points[1], QPointF(16, 4));
    EXPECT_EQ(moved.currentPoint(), QPointF(18, 2));
    EXPECT_EQ(node.path(), original);
}
