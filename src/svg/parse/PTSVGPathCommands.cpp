#include "svg/parse/PTSVGPathCommands.h"

#include "svg/model/PTSVGArc.h"
#include "svg/model/PTSVGPath.h"

namespace {

using Params = const double*;

QPointF point(Params p, int index)
{
    return {p[2 * index], p[2 * index + 1]};
}

// The current point to offset a group by: the origin for absolute groups.
QPointF origin(int type, const PTSVGPath& path)
{
    return type == 1 ? path.currentPoint() : QPointF();
}

void runLineTo(Params p, int, const PTSVGCommand&, const PTSVGCommand*, int type, PTSVGPath& path)
{
    path.mutablePath().lineTo(point(p, 0) + origin(type, path));
}

void runMove(Params p, int count, const PTSVGCommand& command, const PTSVGCommand* previous, int type,
             PTSVGPath& path)
{
    // Later pairs of one move command are implicit lines.
    if (command.isSubCommand() && previous && previous->isLetter('m')) {
        runLineTo(p, count, command, previous, type, path);
        return;
    }
    const QPointF offset = path.mutablePath().hasCurrentPoint() ? origin(type, path) : QPointF();
    path.mutablePath().moveTo(point(p, 0) + offset);
}

void runHorizontal(Params p, int, const PTSVGCommand&, const PTSVGCommand*, int type, PTSVGPath& path)
{
    const QPointF current = path.currentPoint();
    path.mutablePath().lineTo({type == 1 ? current.x() + p[0] : p[0], current.y()});
}

void runVertical(Params p, int, const PTSVGCommand&, const PTSVGCommand*, int type, PTSVGPath& path)
{
    const QPointF current = path.currentPoint();
    path.mutablePath().lineTo({current.x(), type == 1 ? current.y() + p[0] : p[0]});
}

void runCurve(Params p, int, const PTSVGCommand&, const PTSVGCommand*, int type, PTSVGPath& path)
{
    const QPointF o = origin(type, path);
    path.mutablePath().curveTo(point(p, 0) + o, point(p, 1) + o, point(p, 2) + o);
}

// The second control point of a previous c or s group in absolute terms, or nothing to reflect.
bool previousCubicControl(const PTSVGCommand* previous, QPointF current, QPointF& control)
{
    if (!previous || !(previous->isLetter('c') || previous->isLetter('s')))
        return false;
    const auto q = previous->parameters();
    const bool curve = previous->isLetter('c');
    control = curve ? QPointF(q[2], q[3]) : QPointF(q[0], q[1]);
    if (previous->type() == 1) {
        const QPointF end = curve ? QPointF(q[4], q[5]) : QPointF(q[2], q[3]);
        control += current - end;
    }
    return true;
}

void runSmoothCurve(Params p, int, const PTSVGCommand&, const PTSVGCommand* previous, int type, PTSVGPath& path)
{
    const QPointF current = path.currentPoint();
    QPointF control;
    const QPointF first = previousCubicControl(previous, current, control) ? 2 * current - control : current;
    const QPointF o = origin(type, path);
    path.mutablePath().curveTo(first, point(p, 0) + o, point(p, 1) + o);
}

void runQuadratic(Params p, int, const PTSVGCommand&, const PTSVGCommand*, int type, PTSVGPath& path)
{
    const QPointF o = origin(type, path);
    path.mutablePath().quadTo(point(p, 0) + o, point(p, 1) + o);
}

void runSmoothQuadratic(Params p, int, const PTSVGCommand&, const PTSVGCommand* previous, int type, PTSVGPath& path)
{
    const QPointF current = path.currentPoint();
    QPointF control = current;
    if (previous && previous->isLetter('q')) {
        const auto q = previous->parameters();
        QPointF previousControl(q[0], q[1]);
        if (previous->type() == 1)
            previousControl += current - QPointF(q[2], q[3]);
        control = 2 * current - previousControl;
    } else if (previous && previous->isLetter('t')) {
        control = 2 * current - path.lastControlPoint();
    }
    path.setLastControlPoint(control);
    path.mutablePath().quadTo(control, point(p, 0) + origin(type, path));
}

void runArc(Params, int, const PTSVGCommand& command, const PTSVGCommand*, int type, PTSVGPath& path)
{
    command.resetRead();
    const QPointF radii = command.readPoint();
    const double angle = command.readFloat();
    const bool largeArc = command.readBOOL();
    const bool sweep = command.readBOOL();
    const QPointF end = command.readPoint() + origin(type, path);
    PTSVGArc::append(path.mutablePath(), radii, angle, largeArc, sweep, end);
}

void runClose(Params, int, const PTSVGCommand&, const PTSVGCommand*, int, PTSVGPath& path)
{
    path.close();
}

} // namespace

const PTSVGCommandClass PTSVGPathCommands::Move{u'm', 2, runMove};
const PTSVGCommandClass PTSVGPathCommands::LineTo{u'l', 2, runLineTo};
const PTSVGCommandClass PTSVGPathCommands::HorizontalLine{u'h', 1, runHorizontal};
const PTSVGCommandClass PTSVGPathCommands::VerticalLine{u'v', 1, runVertical};
const PTSVGCommandClass PTSVGPathCommands::Curve{u'c', 6, runCurve};
const PTSVGCommandClass PTSVGPathCommands::SmoothCurve{u's', 4, runSmoothCurve};
const PTSVGCommandClass PTSVGPathCommands::QuadraticCurve{u'q', 4, runQuadratic};
const PTSVGCommandClass PTSVGPathCommands::SmoothQuadraticCurve{u't', 2, runSmoothQuadratic};
const PTSVGCommandClass PTSVGPathCommands::Arc{u'a', 7, runArc};
const PTSVGCommandClass PTSVGPathCommands::Close{u'z', 0, runClose};

const std::array<const PTSVGCommandClass*, 10>& PTSVGPathCommands::all()
{
    static const std::array<const PTSVGCommandClass*, 10> classes{
        &Move, &LineTo, &HorizontalLine, &VerticalLine, &Curve, &SmoothCurve, &QuadraticCurve,
        &SmoothQuadraticCurve, &Arc, &Close};
    return classes;
}
