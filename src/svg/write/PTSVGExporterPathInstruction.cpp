#include "svg/write/PTSVGExporterPathInstruction.h"

#include "svg/model/PTSVGBezierPath.h"
#include "svg/PTSVGUtils.h"

#include <QPointF>

#include <cctype>

namespace {

using Instruction = PTSVGExporterPathInstruction;

// The value a reader gets back from the printed number.
double printed(double value)
{
    return PTSVGShortFloatString(value).toDouble();
}

// Makes the pair at index relative to the reader's current point.
QPointF relativePair(std::vector<double>& data, size_t index, QPointF current)
{
    data[index] = printed(data[index] - current.x());
    data[index + 1] = printed(data[index + 1] - current.y());
    return QPointF(data[index], data[index + 1]);
}

} // namespace

PTSVGExporterPathInstruction::PTSVGExporterPathInstruction(char instruction, int dataCount)
    : instruction_(instruction), data_(size_t(std::max(dataCount, 0)), 0.0)
{
}

PTSVGExporterPathInstruction::PTSVGExporterPathInstruction(char instruction, std::initializer_list<double> data)
    : instruction_(instruction), data_(data)
{
}

std::vector<Instruction> PTSVGExporterPathInstruction::instructionsFromPath(const PTSVGBezierPath& path)
{
    using Type = PTSVGBezierPath::ElementType;
    std::vector<Instruction> list;
    QPointF current;
    for (const auto& element : path.elements()) {
        const QPointF& end = element.points[0];
        switch (element.type) {
        case Type::MoveTo:
            list.push_back(Instruction('M', {end.x(), end.y()}));
            current = end;
            break;
        case Type::LineTo:
            if (end.x() != current.x() && end.y() != current.y())
                list.push_back(Instruction('L', {end.x(), end.y()}));
            else if (end.x() != current.x())
                list.push_back(Instruction('H', {end.x()}));
            else
                list.push_back(Instruction('V', {end.y()}));
            current = end;
            break;
        case Type::QuadTo:
            list.push_back(Instruction('Q', {element.points[1].x(), element.points[1].y(), end.x(), end.y()}));
            current = end;
            break;
        case Type::CurveTo:
            list.push_back(Instruction('C', {element.points[1].x(), element.points[1].y(), element.points[2].x(),
                                      element.points[2].y(), end.x(), end.y()}));
            current = end;
            break;
        case Type::Close:
            list.push_back(Instruction('Z', 0));
            break;
        }
    }
    if (list.size() >= 2 && std::toupper(list.back().instruction()) == 'M'
        && std::toupper(list[list.size() - 2].instruction()) == 'Z')
        list.pop_back();
    return list;
}

void PTSVGExporterPathInstruction::convertInstructionsToRelativeCoordinates(std::vector<Instruction>& instructions)
{
    QPointF current, start;
    for (size_t index = 0; index < instructions.size(); ++index) {
        Instruction& instruction = instructions[index];
        std::vector<double>& data = instruction.data();
        const char letter = instruction.instruction();
        const auto lastPair = [&] { return QPointF(data[data.size() - 2], data[data.size() - 1]); };
        switch (letter) {
        case 'Z':
        case 'z':
            current = start;
            break;
        case 'm':
            current += lastPair();
            start = current;
            break;
        case 'c': case 's': case 'l': case 'q': case 't': case 'a':
            if (data.size() >= 2)
                current += lastPair();
            break;
        case 'h':
            current.rx() += data[0];
            break;
        case 'v':
            current.ry() += data[0];
            break;
        case 'M':
            if (index == 0) {
                current = start = QPointF(printed(data[0]), printed(data[1]));
                break;
            }
            current += relativePair(data, 0, current);
            start = current;
            instruction.setInstruction('m');
            break;
        case 'L': case 'T':
            current += relativePair(data, 0, current);
            instruction.setInstruction(char(std::tolower(letter)));
            break;
        case 'C':
            relativePair(data, 0, current);
            relativePair(data, 2, current);
            current += relativePair(data, 4, current);
            instruction.setInstruction('c');
            break;
        case 'Q': case 'S':
            relativePair(data, 0, current);
            current += relativePair(data, 2, current);
            instruction.setInstruction(char(std::tolower(letter)));
            break;
        case 'A':
            current += relativePair(data, 5, current);
            instruction.setInstruction('a');
            break;
        case 'H':
            data[0] = printed(data[0] - current.x());
            current.rx() += data[0];
            instruction.setInstruction('h');
            break;
        case 'V':
            data[0] = printed(data[0] - current.y());
            current.ry() += data[0];
            instruction.setInstruction('v');
            break;
        default:
            break;
        }
    }
}

QString PTSVGExporterPathInstruction::numberText(double value, int decimals)
{
    if (decimals < 0)
        return PTSVGShortFloatString(value);
    QString text = QString::number(value, 'f', decimals);
    if (decimals > 0) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString PTSVGExporterPathInstruction::text(int decimals) const
{
    QString text{QLatin1Char(instruction_)};
    const auto number = [&](size_t index) { return numberText(data_[index], decimals); };
    const auto pairs = [&](size_t first, size_t count) {
        for (size_t pair = 0; pair < count; ++pair) {
            if (pair > 0)
                text += QLatin1Char(' ');
            text += number(first + 2 * pair) + QLatin1Char(',') + number(first + 2 * pair + 1);
        }
    };
    switch (std::toupper(instruction_)) {
    case 'M': case 'L': case 'T': pairs(0, 1); break;
    case 'Q': case 'S': pairs(0, 2); break;
    case 'C': pairs(0, 3); break;
    case 'H': case 'V': text += number(0); break;
    case 'A':
        pairs(0, 1);
        text += QLatin1Char(' ') + number(2) + QLatin1Char(' ') + QLatin1Char(data_[3] != 0 ? '1' : '0')
            + QLatin1Char(' ') + QLatin1Char(data_[4] != 0 ? '1' : '0') + QLatin1Char(' ');
        pairs(5, 1);
        break;
    default:
        break;
    }
    return text;
}

QString PTSVGExporterPathInstruction::pathStringFromInstructions(const std::vector<Instruction>& instructions,
                                                                 int decimals)
{
    QString text;
    for (const auto& instruction : instructions)
        text += instruction.text(decimals);
    return text;
}
