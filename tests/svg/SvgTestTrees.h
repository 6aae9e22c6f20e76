#pragma once

#include "svg/parse/PTSVGParser.h"

#include <QImage>
#include <QMap>
#include <QString>

#include <memory>

// Small helpers for tests that look at parsed trees.
namespace svgtest {

// Parses the text and fails the calling test (returning null) when that does not work.
std::shared_ptr<PTSVGParser> parse(const QString& text);
// Wraps body text in an svg root of 100 x 100 that declares no namespaces at all.
std::shared_ptr<PTSVGParser> parseBody(const QString& body);
// The first node of the drawn tree (depth first, children of groups and nested documents) with this id.
std::shared_ptr<PTSVGNode> find(const PTSVGGroup& root, const QString& identifier);
template <typename Node>
std::shared_ptr<Node> findAs(const PTSVGGroup& root, const QString& identifier)
{
    return std::dynamic_pointer_cast<Node>(find(root, identifier));
}
// The folder of the SVG conformance cases beside the repository (or beside the folder of work trees); empty
// when there is none.
QString suiteFolder();
// Case path (relative to the cases folder) to the reason it is expected to fail.
QMap<QString, QString> expectedFailures();
// The conformance rule: the fraction of pixels whose largest channel difference exceeds 32/255, both images
// composited over white. A rendering conforms at 0.5% or less.
double differingFraction(const QImage& got, const QImage& expected);
constexpr double ConformingFraction = 0.005;
// The colour as #RRGGBBAA, for readable comparisons; "unset" for no colour.
std::string hex(const std::optional<QColor>& color);

} // namespace svgtest
