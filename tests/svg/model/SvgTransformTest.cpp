// Transform lists: parsing, the matrix of each kind, folding in SVG order and the readable decomposition.
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

QTransform fold(const char16_t* text)
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
