#include "AppTestWidgets.h"

#include "TestSupport.h"

#include <QColor>
#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace apptest {

QString writeScreenshot(QWidget* widget, const QString& name)
{
    if (!pt::test::writeScreenshot(widget->grab().toImage(), name))
        return {};
    return QDir(QStringLiteral(PICTERN_SCREENSHOT_DIR)).filePath(name + QStringLiteral(".png"));
}

bool near(const QColor& a, const QColor& b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace apptest
