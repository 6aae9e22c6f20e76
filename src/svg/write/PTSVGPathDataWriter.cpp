#include "svg/write/PTSVGPathDataWriter.h"

#include "svg/model/PTSVGArc.h"
#include "svg/model/PTSVGBezierPath.h"
#include "svg/write/PTSVGExporterPathInstruction.h"

#include <cctype>
#include <cmath>
#include <vector>

namespace {

using Instruction = PTSVGExporterPathInstruction;
using Element = PTSVGBezierPath::Element;
using Type = PTSVGBezierPath::ElementType;

constexpr double Pi = 3.141592653589793;
constexpr int MostDecimals = 12;
// Grid coordinates stay exact in a double.
constexpr double LargestSteps = 4503599627370496.0;
// The reader splits an arc into pieces of at most a quarter turn; longer runs of pieces are not tried.
constexpr int LongestArcRun = 8;

// A point in grid steps.
struct GridPoint {
    qint64 x = 0;
    qint64 y = 0;
    bool operator==(const GridPoint&) const = default;
    GridPoint operator-(const GridPoint& other) const { return {x - other.x, y - other.y}; }
    // The reflection of other through this point, as a reader makes a shorthand's first control point.
    GridPoint reflect(const GridPoint& other) const { return {2 * x - other.x, 2 * y - other.y}; }
};

double cross(QPointF a, QPointF b)
{
    return a.x() * b.y() - a.y() * b.x();
}

double length(QPointF vector)
{
    return std::hypot(vector.x(), vector.y());
}

// The radii and turn of a cubic piece that may be part of a circle or an axis-aligned ellipse.
struct ArcGuess {
    double rx = 0;
    double ry = 0;
    double turn = 0;
};

// The circle through both ends whose tangents the controls give, and for a quarter piece whose tangents lie on the
// axes, the ellipse of that box. Nothing for pieces that bend too little or more than a quarter turn.
std::vector<ArcGuess> arcGuesses(QPointF p0, QPointF c1, QPointF c2, QPointF p3)
{
    const QPointF d0 = c1 - p0, d3 = p3 - c2;
    const double l0 = length(d0), l3 = length(d3);
    if (l0 == 0 || l3 == 0)
        return {};
    const double turn = std::atan2(cross(d0, d3), QPointF::dotProduct(d0, d3));
    if (std::abs(turn) < Pi / 180 || std::abs(turn) > Pi / 2 + 1e-6)
        return {};
    std::vector<ArcGuess> guesses;
    const double radius = length(p3 - p0) / (2 * std::sin(std::abs(turn) / 2));
    guesses.push_back({radius, radius, turn});
    const double flat = 1e-9 * (l0 + l3);
    const bool d0OnAxis = std::abs(d0.x()) <= flat || std::abs(d0.y()) <= flat;
    const bool d3OnAxis = std::abs(d3.x()) <= flat || std::abs(d3.y()) <= flat;
    if (d0OnAxis && d3OnAxis && std::abs(std::abs(turn) - Pi / 2) < 1e-6)
        guesses.push_back({std::abs(p3.x() - p0.x()), std::abs(p3.y() - p0.y()), turn});
    return guesses;
}

class Writer {
public:
    Writer(int decimals, bool relative) : decimals_(decimals), scale_(std::pow(10.0, decimals)), relative_(relative)
    {
    }

    // False when a coordinate does not fit the grid.
    bool write(const PTSVGBezierPath& path);
    QString text() const { return Instruction::pathStringFromInstructions(list_, decimals_); }

private:
    bool fits(QPointF point) const;
    GridPoint snap(QPointF point) const;
    double value(qint64 steps) const { return double(steps) / scale_; }
    // The absolute and the relative form of a command ending at end, its other numbers first.
    void addForms(std::vector<Instruction>& forms, char letter, std::vector<double> numbers,
                  std::initializer_list<GridPoint> points) const;
    const Instruction& shortest(const std::vector<Instruction>& forms) const;
    // closes: a close follows; more: another segment follows in the subpath.
    void line(QPointF end, bool closes, bool more);
    void quadratic(const Element& element);
    // Writes the cubic at index, or an arc for it and the pieces after it; returns the pieces used.
    size_t curve(const std::vector<Element>& elements, size_t index, size_t count);
    // An arc from the current point over count pieces from index, drawn by a reader within one grid step of the
    // pieces; false when there is none.
    // rounding: the radii printed rounded down (-1), to the nearest step (0) or up (1).
    bool arcOver(const std::vector<Element>& elements, size_t index, size_t count, const ArcGuess& guess,
                 int rounding, std::vector<Instruction>& forms) const;
    void append(const Instruction& instruction);

    int decimals_;
    double scale_;
    bool relative_;
    std::vector<Instruction> list_;
    GridPoint current_;
    GridPoint start_;
    // The path's own current point, where arcs are measured from.
    QPointF exact_;
    // The upper-case letter of the last command written and its last control point, which S and T reflect.
    char previous_ = 0;
    GridPoint previousControl_;
    // Whether the subpath has a segment yet.
    bool drawn_ = false;
};

bool Writer::fits(QPointF point) const
{
    return std::isfinite(point.x()) && std::isfinite(point.y()) && std::abs(point.x() * scale_) < LargestSteps
        && std::abs(point.y() * scale_) < LargestSteps;
}

GridPoint Writer::snap(QPointF point) const
{
    return {std::llround(point.x() * scale_), std::llround(point.y() * scale_)};
}

void Writer::addForms(std::vector<Instruction>& forms, char letter, std::vector<double> numbers,
                      std::initializer_list<GridPoint> points) const
{
    for (const bool relative : {true, false}) {
        if (relative && !relative_)
            continue;
        std::vector<double> data = numbers;
        for (const GridPoint& point : points) {
            const GridPoint printed = relative ? point - current_ : point;
            data.push_back(value(printed.x));
            data.push_back(value(printed.y));
        }
        Instruction instruction(char(relative ? std::tolower(letter) : letter), int(data.size()));
        instruction.data() = data;
        forms.push_back(std::move(instruction));
    }
}

const Instruction& Writer::shortest(const std::vector<Instruction>& forms) const
{
    const Instruction* best = &forms.front();
    qsizetype bestLength = best->text(decimals_).size();
    for (const Instruction& form : forms) {
        const qsizetype length = form.text(decimals_).size();
        if (length < bestLength) {
            best = &form;
            bestLength = length;
        }
    }
    return *best;
}

void Writer::append(const Instruction& instruction)
{
    list_.push_back(instruction);
    previous_ = char(std::toupper(instruction.instruction()));
}

bool Writer::write(const PTSVGBezierPath& path)
{
    const auto& elements = path.elements();
    for (const Element& element : elements) {
        for (const QPointF& point : element.points) {
            if (!fits(point))
                return false;
        }
    }
    size_t count = elements.size();
    // A move after the last close draws nothing.
    if (count >= 2 && elements[count - 1].type == Type::MoveTo && elements[count - 2].type == Type::Close)
        --count;
    for (size_t index = 0; index < count; ++index) {
        const Element& element = elements[index];
        switch (element.type) {
        case Type::MoveTo: {
            const GridPoint end = snap(element.points[0]);
            if (list_.empty()) {
                append(Instruction('M', {value(end.x), value(end.y)}));
            } else {
                std::vector<Instruction> forms;
                addForms(forms, 'M', {}, {end});
                append(shortest(forms));
            }
            current_ = start_ = end;
            drawn_ = false;
            break;
        }
        case Type::LineTo:
            line(element.points[0], index + 1 < count && elements[index + 1].type == Type::Close,
                 index + 1 < count && elements[index + 1].type != Type::Close
                     && elements[index + 1].type != Type::MoveTo);
            break;
        case Type::QuadTo:
            quadratic(element);
            break;
        case Type::CurveTo:
            index += curve(elements, index, count) - 1;
            break;
        case Type::Close:
            append(Instruction('Z', 0));
            current_ = start_;
            break;
        }
        exact_ = elements[index].points[0];
    }
    return true;
}

void Writer::line(QPointF point, bool closes, bool more)
{
    const GridPoint end = snap(point);
    // An empty line only matters as the subpath's one segment, where it draws a cap; a line back to the start
    // is what the close draws.
    if ((end == current_ && (drawn_ || more)) || (end == start_ && end != current_ && closes))
        return;
    std::vector<Instruction> forms;
    if (end.y == current_.y) {
        if (relative_)
            forms.push_back(Instruction('h', {value(end.x - current_.x)}));
        forms.push_back(Instruction('H', {value(end.x)}));
    }
    if (end.x == current_.x) {
        if (relative_)
            forms.push_back(Instruction('v', {value(end.y - current_.y)}));
        forms.push_back(Instruction('V', {value(end.y)}));
    }
    addForms(forms, 'L', {}, {end});
    append(shortest(forms));
    current_ = end;
    drawn_ = true;
}

void Writer::quadratic(const Element& element)
{
    const GridPoint control = snap(element.points[1]), end = snap(element.points[0]);
    std::vector<Instruction> forms;
    const GridPoint reflected = previous_ == 'Q' || previous_ == 'T' ? current_.reflect(previousControl_) : current_;
    if (control == reflected)
        addForms(forms, 'T', {}, {end});
    addForms(forms, 'Q', {}, {control, end});
    append(shortest(forms));
    previousControl_ = control;
    current_ = end;
    drawn_ = true;
}

size_t Writer::curve(const std::vector<Element>& elements, size_t index, size_t count)
{
    const Element& element = elements[index];
    const GridPoint first = snap(element.points[1]), second = snap(element.points[2]), end = snap(element.points[0]);
    std::vector<Instruction> forms;
    const GridPoint reflected = previous_ == 'C' || previous_ == 'S' ? current_.reflect(previousControl_) : current_;
    if (first == reflected)
        addForms(forms, 'S', {}, {second, end});
    addForms(forms, 'C', {}, {first, second, end});
    // The longest run of pieces an arc can stand for; a run is tried only while the pieces turn less than a
    // full circle, since an arc back to its start draws nothing.
    size_t pieces = 1;
    bool found = false;
    for (const ArcGuess& guess : arcGuesses(exact_, element.points[1], element.points[2], element.points[0])) {
        const size_t longest = std::min<size_t>(
            {size_t(LongestArcRun), count - index, size_t(std::ceil(2 * Pi / std::abs(guess.turn) - 1e-6)) - 1});
        for (size_t run = longest; run >= 1 && !found; --run) {
            std::vector<Instruction> arcs;
            for (const int rounding : {0, -1, 1}) {
                if (!found)
                    found = arcOver(elements, index, run, guess, rounding, arcs);
            }
            if (!found)
                continue;
            // Several pieces always print shorter as one arc; a single piece competes with its cubic.
            if (run > 1)
                forms.clear();
            forms.insert(forms.end(), arcs.begin(), arcs.end());
            pieces = run;
        }
        if (found)
            break;
    }
    const Instruction& chosen = shortest(forms);
    const char letter = char(std::toupper(chosen.instruction()));
    if (letter != 'A') {
        pieces = 1;
        previousControl_ = second;
    }
    append(chosen);
    const auto& data = chosen.data();
    const GridPoint last = snap({data[data.size() - 2], data[data.size() - 1]});
    current_ = std::islower(chosen.instruction()) ? GridPoint{current_.x + last.x, current_.y + last.y} : last;
    drawn_ = true;
    return pieces;
}

bool Writer::arcOver(const std::vector<Element>& elements, size_t index, size_t count, const ArcGuess& guess,
                     int rounding, std::vector<Instruction>& forms) const
{
    for (size_t piece = index; piece < index + count; ++piece) {
        if (elements[piece].type != Type::CurveTo)
            return false;
    }
    const auto radius = [&](double r) {
        const double steps = r * scale_;
        return value(qint64(rounding < 0 ? std::floor(steps) : rounding > 0 ? std::ceil(steps) : std::round(steps)));
    };
    const double rx = radius(guess.rx), ry = radius(guess.ry);
    if (rx <= 0 || ry <= 0)
        return false;
    const bool large = std::abs(guess.turn) * double(count) > Pi + 1e-9;
    const bool sweep = guess.turn > 0;
    const GridPoint end = snap(elements[index + count - 1].points[0]);
    // What a reader draws from the printed numbers, piece by piece against the path's own.
    PTSVGBezierPath drawn;
    drawn.moveTo({value(current_.x), value(current_.y)});
    PTSVGArc::append(drawn, {rx, ry}, 0, large, sweep, {value(end.x), value(end.y)});
    const auto& read = drawn.elements();
    if (read.size() != count + 1)
        return false;
    const double step = 1 / scale_;
    for (size_t piece = 0; piece < count; ++piece) {
        if (read[piece + 1].type != Type::CurveTo)
            return false;
        for (size_t point = 0; point < 3; ++point) {
            const QPointF off = read[piece + 1].points[point] - elements[index + piece].points[point];
            if (std::abs(off.x()) > step || std::abs(off.y()) > step)
                return false;
        }
    }
    addForms(forms, 'A', {rx, ry, 0, large ? 1.0 : 0.0, sweep ? 1.0 : 0.0}, {end});
    return true;
}

} // namespace

int PTSVGPathDataWriter::decimalsForTolerance(double tolerance)
{
    int decimals = 0;
    while (decimals < MostDecimals && 0.5 * std::pow(10.0, -decimals) > tolerance)
        ++decimals;
    return decimals;
}

QString PTSVGPathDataWriter::pathString(const PTSVGBezierPath& path, double tolerance, bool relative)
{
    if (tolerance > 0 && std::isfinite(tolerance)) {
        Writer writer(decimalsForTolerance(tolerance), relative);
        if (writer.write(path))
            return writer.text();
    }
    auto instructions = Instruction::instructionsFromPath(path);
    if (relative)
        Instruction::convertInstructionsToRelativeCoordinates(instructions);
    return Instruction::pathStringFromInstructions(instructions);
}
