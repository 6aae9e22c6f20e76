#include "ui/colour/PTColorBlockView.h"

#include "ui/colour/HSBComponents.h"
#include "ui/colour/NameThatColor.h"
#include "ui/colour/PTColourPickerController.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include "foundation/ColorPrivate.h"
#include "foundation/MCAdditions.h"
#include "library/PTLibraryController.h"
#include "platform/plist/KeyedArchive.h"
#include "platform/plist/PropertyList.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QLoggingCategory>
#include <QMenu>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

Q_LOGGING_CATEGORY(lcSwatches, "pictern.ui.swatches")

const QString PTColorBlockView::kArchiveIdentifier = QStringLiteral("default");
const QString PTColorBlockView::kRemoveTitle = QStringLiteral("Remove");

namespace {

const QString kSwatchesFolder = QStringLiteral("Swatches");
const QString kFileFormat = QStringLiteral("%1.ptcolors");
const QString kUnreadableSuffix = QStringLiteral(".unreadable");
constexpr int kCell = 16;
constexpr int kGap = 8;
constexpr int kPitch = kCell + kGap;

} // namespace

PTColorBlockView::PTColorBlockView(QWidget* parent, const QString& archiveFolder)
    : QWidget(parent)
{
    QString folder = archiveFolder;
    if (folder.isEmpty()) {
        if (PTLibraryController* library = PTLibraryController::currentLibrary())
            folder = library->locationByAppendingPath(kSwatchesFolder, true);
    }
    if (!folder.isEmpty())
        m_archiveFile = QDir(folder).filePath(kFileFormat.arg(kArchiveIdentifier));
    setAccessibleName(QStringLiteral("Swatches"));
    unarchive();
}

const std::vector<QColor>& PTColorBlockView::defaultColors()
{
    static const std::vector<QColor> colors = [] {
        std::vector<QColor> palette;
        for (const int hex : {0xFF334C, 0xFF9947, 0xFFF141, 0xB8E986, 0x7ED321, 0x518A0F, 0x1DBA8F, 0x54A5F0, 0x0076FF,
                              0xA43CEA, 0xFF77B6, 0x000000, 0x4A4A4A, 0x9B9B9B, 0xFFFFFF})
            palette.push_back(PTColorFromHEX(hex, 1.0).toRgb());
        return palette;
    }();
    return colors;
}

void PTColorBlockView::setColors(const std::vector<QColor>& colors)
{
    m_colors.clear();
    for (const QColor& color : colors) {
        if (std::find(m_colors.begin(), m_colors.end(), color) == m_colors.end())
            m_colors.push_back(color);
    }
    update();
}

void PTColorBlockView::addColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    if (std::find(m_colors.begin(), m_colors.end(), rgb) != m_colors.end())
        return;
    m_colors.push_back(rgb);
    update();
    recalculateFrame();
    archive();
}

void PTColorBlockView::removeColor(const QColor& color)
{
    if (std::erase(m_colors, color) == 0)
        return;
    update();
    recalculateFrame();
    archive();
}

void PTColorBlockView::unarchive()
{
    std::vector<QColor> colors = defaultColors();
    if (!m_archiveFile.isEmpty() && QFile::exists(m_archiveFile)) {
        const auto plist = pt::PropertyList::fromFile(m_archiveFile);
        const auto root = plist ? pt::KeyedArchive::unarchivedRoot(*plist) : pt::Result<QVariant>(plist.error());
        const bool isList = root && (root->typeId() == QMetaType::QVariantList || !root->isValid());
        if (isList) {
            colors.clear();
            for (const QVariant& entry : root->toList()) {
                if (const auto color = pt::KeyedArchive::colorFromObject(entry))
                    colors.push_back(*color);
            }
        } else {
            m_unreadable = true;
            qCWarning(lcSwatches) << "Cannot read the swatches in" << m_archiveFile
                                  << (root ? QStringLiteral("(no list of colours)")
                                           : root.error().localizedDescription());
        }
    }
    setColors(colors);
    recalculateFrame();
}

void PTColorBlockView::moveUnreadableFileAside()
{
    QString aside = m_archiveFile + kUnreadableSuffix;
    for (int n = 2; QFile::exists(aside); ++n)
        aside = m_archiveFile + kUnreadableSuffix + QLatin1Char('.') + QString::number(n);
    if (QFile::rename(m_archiveFile, aside))
        m_unreadable = false;
}

void PTColorBlockView::archive()
{
    if (m_archiveFile.isEmpty())
        return;
    if (m_unreadable)
        moveUnreadableFileAside();
    if (m_unreadable) {
        qCWarning(lcSwatches) << "Not writing the swatches over the unreadable" << m_archiveFile;
        return;
    }
    QVariantList list;
    for (const QColor& color : m_colors)
        list.append(pt::KeyedArchive::colorObject(color));
    const auto written = pt::PropertyList::writeFile(pt::KeyedArchive::archivedRoot(list), m_archiveFile,
                                                     pt::PropertyList::Format::Binary);
    if (!written)
        qCWarning(lcSwatches) << "Cannot write the swatches to" << m_archiveFile
                              << written.error().localizedDescription();
}

int PTColorBlockView::numberOfColumns(qreal width)
{
    // A column needs its gap on the left and its cell: (width + gap) / pitch would let the last cell overhang
    // the view by up to a gap.
    return std::max(1, static_cast<int>(width / kPitch));
}

int PTColorBlockView::numberOfRows(int colorCount, int columns)
{
    return std::max(1, (colorCount + 2 + columns - 1) / columns);
}

QRect PTColorBlockView::rectForIndex(int index, int columns)
{
    return QRect(kGap + kPitch * (index % columns), kGap + kPitch * (index / columns), kCell, kCell);
}

int PTColorBlockView::heightFor(int colorCount, qreal width)
{
    return numberOfRows(colorCount, numberOfColumns(width)) * kPitch + kGap;
}

int PTColorBlockView::indexForPoint(QPoint point) const
{
    const int columns = numberOfColumns(width());
    for (int index = 0; index <= addIndex(); ++index) {
        if (rectForIndex(index, columns).contains(point))
            return index;
    }
    return -1;
}

QString PTColorBlockView::toolTipForPoint(QPoint point) const
{
    const int index = indexForPoint(point);
    if (index < 0)
        return QString();
    if (index == addIndex())
        return QStringLiteral("Add to Swatch");
    if (index == 0)
        return QStringLiteral("Clear");
    const QColor& color = m_colors[size_t(index - 1)];
    return QStringLiteral("%1 (#%2)").arg(NameThatColor::ntc_name(color), HSBComponents::HEXString(color));
}

QMenu* PTColorBlockView::menuForPoint(QPoint point)
{
    const int index = indexForPoint(point);
    if (index < 1 || index >= addIndex())
        return nullptr;
    const QColor color = m_colors[size_t(index - 1)];
    auto* menu = new QMenu(this);
    QFont font = menu->font();
    font.setPixelSize(13);
    menu->setFont(font);
    menu->addAction(kRemoveTitle, this, [this, color] { removeColor(color); });
    return menu;
}

void PTColorBlockView::recalculateFrame()
{
    const int height = heightFor(int(m_colors.size()), width());
    if (height != this->height())
        resize(width(), height);
}

bool PTColorBlockView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = toolTipForPoint(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this, rectForIndex(indexForPoint(help->pos()),
                                                                           numberOfColumns(width())));
        return true;
    }
    return QWidget::event(event);
}

void PTColorBlockView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    recalculateFrame();
}

void PTColorBlockView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int columns = numberOfColumns(width());
    PTColourPickerController::SwatchLook look;
    look.radius = 3;
    look.checkerOpacity = 0.05;
    look.checkerOnlyWhenTranslucent = true;
    const auto drawCell = [&](const QColor& color, const QRect& rect) {
        PTColourPickerController::drawSwatch(painter, rect, color, look);
    };
    drawCell(QColor(), rectForIndex(0, columns));
    for (size_t k = 0; k < m_colors.size(); ++k) {
        const QRect rect = rectForIndex(int(k) + 1, columns);
        if (rect.intersects(event->rect()))
            drawCell(m_colors[k], rect);
    }
    const QRectF glyph = QRectF(rectForIndex(addIndex(), columns)).adjusted(2, 2, -2, -2);
    QPainterPath plus;
    plus.addRoundedRect(QRectF(glyph.center().x() - 1, glyph.top(), 2, glyph.height()).toAlignedRect(), 2, 2);
    plus.addRoundedRect(QRectF(glyph.left(), glyph.center().y() - 1, glyph.width(), 2).toAlignedRect(), 2, 2);
    plus.setFillRule(Qt::WindingFill);
    painter.fillPath(plus, PTThemeIsAppearance(0) ? PTStyles::defaultDarkModeWhite() : PTColorFromHEX(0x000000, 0.3));
}

void PTColorBlockView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const QPoint point = event->position().toPoint();
    const int index = indexForPoint(point);
    if (index == addIndex()) {
        if (m_newColorHandler) {
            const QColor color = m_newColorHandler();
            if (color.isValid())
                addColor(color);
        }
        return;
    }
    if (index < 0 || index > int(m_colors.size()))
        return;
    if (m_clickHandler)
        m_clickHandler(index == 0 ? QColor() : m_colors[size_t(index - 1)]);
}

void PTColorBlockView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = menuForPoint(event->pos());
    if (!menu)
        return;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}
