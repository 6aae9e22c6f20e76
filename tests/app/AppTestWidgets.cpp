#include "AppTestWidgets.h"

#include <QColor>
#include <QDir>
#include <QPixmap>
#include <QSaveFile>
#include <QWidget>

namespace apptest {

QString writeScreenshot(QWidget* widget, const QString& name)
{
    const QString folder = QStringLiteral(PICTERN_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    const QString file = QDir(folder).filePath(name + QStringLiteral(".png"));
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly) && widget->grab().save(&out, "PNG") && out.commit())
        return file;
    return {};
}

bool near(const QColor& a, const QColor& b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace apptest
