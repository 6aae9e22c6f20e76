#include "svg/parse/PTSVGShapeReader.h"

#include "svg/parse/PTSVGCommand.h"
#include "svg/model/PTSVGPath.h"
#include "svg/PTSVGUtils.h"
#include "svg/dom/PTSVGXmlNode.h"

#include <cmath>
#include <memory>

namespace {

float number(const PTSVGXmlNode& element, QStringView name)
{
    const QString* text = element.attribute(name);
    return text ? PTSVGUtils::leadingFloat(*text) : 0.0f;
}

double roundedToHundredths(float value)
{
    return QString::number(value, 'f', 2).toDouble();
}

void runCommand(QStringView text, std::unique_ptr<PTSVGCommand>& held, const PTSVGCommand*& previous,
                PTSVGPath& path)
{
    auto command = std::make_unique<PTSVGCommand>(text);
    previous = command->run(previous, path);
    // The previous sub-command lives inside its command, which stays alive until the next one has run.
    held = std::move(command);
}

} // namespace

void PTSVGShapeReader::parsePathCommandData(QStringView data, PTSVGPath& path)
{
    PTSVGCommand::registerAll();
    std::unique_ptr<PTSVGCommand> held;
    const PTSVGCommand* previous = nullptr;
    qsizetype start = 0;
    const qsizetype count = data.size();
    for (qsizetype i = 0; i < count; ++i) {
        if (i + 1 == count || PTSVGIsPathCommandLetter(data[i + 1])) {
            runCommand(data.mid(start, i + 1 - start), held, previous, path);
            start = i + 1;
        }
    }
}

void PTSVGShapeReader::parseLine(const PTSVGXmlNode& element, PTSVGPath& path)
{
    PTSVGBezierPath line;
    line.moveTo({roundedToHundredths(number(element, u"x1")), roundedToHundredths(number(element, u"y1"))});
    line.lineTo({roundedToHundredths(number(element, u"x2")), roundedToHundredths(number(element, u"y2"))});
    path.overwritePath(std::move(line));
}

void PTSVGShapeReader::parsePoly(const PTSVGXmlNode& element, PTSVGPath& path, bool closePath)
{
    const auto numbers = PTSVGUtils::scanFloatsFromString(element.attributeValue(u"points"));
    if (numbers.empty() || numbers.size() % 2 != 0)
        return;
    PTSVGBezierPath poly;
    poly.moveTo({numbers[0], numbers[1]});
    for (size_t i = 2; i + 1 < numbers.size(); i += 2)
        poly.lineTo({numbers[i], numbers[i + 1]});
    if (closePath)
        poly.close();
    path.overwritePath(std::move(poly));
}

void PTSVGShapeReader::parseCircle(const PTSVGXmlNode& element, PTSVGPath& path)
{
    const float cx = number(element, u"cx"), cy = number(element, u"cy"), r = number(element, u"r");
    if (!(r > 0))
        return;
    PTSVGBezierPath oval;
    oval.appendOval(QRectF(cx - r, cy - r, 2 * r, 2 * r));
    path.overwritePath(std::move(oval));
}

void PTSVGShapeReader::parseEllipse(const PTSVGXmlNode& element, PTSVGPath& path)
{
    const float cx = number(element, u"cx"), cy = number(element, u"cy");
    const float rx = number(element, u"rx"), ry = number(element, u"ry");
    if (!(rx > 0) || !(ry > 0))
        return;
    PTSVGBezierPath oval;
    oval.appendOval(QRectF(cx - rx, cy - ry, 2 * rx, 2 * ry));
    path.overwritePath(std::move(oval));
}

void PTSVGShapeReader::parseRect(const PTSVGXmlNode& element, PTSVGPath& path, const QRectF& viewBox)
{
    auto value = [&](QStringView name, double reference) {
        const QString* text = element.attribute(name);
        return text ? PTSVGUtils::floatValue(*text, reference) : 0.0;
    };
    const double width = value(u"width", viewBox.width()), height = value(u"height", viewBox.height());
    const double x = value(u"x", viewBox.width()), y = value(u"y", viewBox.height());
    if (!(width > 0) || !(height > 0))
        return;
    // A radius given alone serves both axes.
    const bool hasRx = element.hasAttribute(u"rx"), hasRy = element.hasAttribute(u"ry");
    const double rx = hasRx ? value(u"rx", viewBox.width()) : value(u"ry", viewBox.height());
    const double ry = hasRy ? value(u"ry", viewBox.height()) : rx;
    PTSVGBezierPath rect;
    rect.appendRoundedRect(QRectF(x, y, width, height), std::max(0.0, rx), std::max(0.0, ry));
    path.overwritePath(std::move(rect));
}
