#include "ui/colour/PTColourPickerControl.h"

#include "ui/colour/HSBComponents.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include "foundation/ColorPrivate.h"

#include <QMenu>
#include <QPainter>

#include <cmath>

const QString PTColourPickerControl::kDefaultLabel = QStringLiteral("Default");

namespace {

constexpr qreal kImageSize = 16.0;

} // namespace

PTColourPickerControl::PTColourPickerControl(QWidget* parent)
    : PTSegmentedControl(parent)
{
    setSegmentCount(1);
    setAccessibleName(QStringLiteral("Colour"));
    setAutoColorsIcons(false);
    setSublabeledFromMenus(false);
    connect(this, &PTToolbarSegmentedControl::action, this, &PTColourPickerControl::showColorPicker);
    updateAppearance();
}

void PTColourPickerControl::updateAppearance()
{
    setStrokeColor(PTStyles::defaultControlFieldStrokeColor());
    recalculateImage();
}

void PTColourPickerControl::setColor(const QColor& color)
{
    setRawColorValue(color);
    callHandler();
}

void PTColourPickerControl::setColorWithoutInformingHandlers(const QColor& color)
{
    setRawColorValue(color);
}

void PTColourPickerControl::setRawColorValue(const QColor& color)
{
    m_color = color.isValid() ? color.toRgb() : QColor();
    recalculateLabel();
    recalculateImage();
    update();
}

void PTColourPickerControl::callHandler()
{
    if (m_colorDidChangeHandler)
        m_colorDidChangeHandler(m_color, m_replacementColor);
}

void PTColourPickerControl::setColorDidChangeHandler(ColorDidChangeHandler handler)
{
    m_colorDidChangeHandler = std::move(handler);
    if (m_color.isValid())
        callHandler();
}

void PTColourPickerControl::setDrawsLabels(bool draws)
{
    m_drawsLabels = draws;
    setLabel(QString(), 0);
    if (!draws)
        setSublabel(QString(), 0);
    recalculateLabel();
}

void PTColourPickerControl::setDrawsImage(bool draws)
{
    m_drawsImage = draws;
    if (!draws)
        setImage(QImage(), 0);
    recalculateImage();
}

void PTColourPickerControl::setMode(int mode)
{
    m_mode = mode;
    if (mode == 0)
        m_replacedColors.clear();
}

void PTColourPickerControl::setReplacementColors(const std::vector<QColor>& colors)
{
    m_replacementColors = colors;
    if (!m_color.isValid())
        return;
    for (const auto& [original, replacement] : m_replacedColors) {
        if (original == m_color || replacement == m_color) {
            setColor(replacement);
            return;
        }
    }
}

std::optional<PTColourPickerControl::ReplacedColors> PTColourPickerControl::replacedColorsIfRequired() const
{
    if (!m_color.isValid())
        return std::nullopt;
    return m_replacedColors;
}

void PTColourPickerControl::showColorPicker()
{
    if (m_colorController)
        return;
    auto* picker = new PTColourPickerController(m_color.isValid() ? m_color : PTColorFromHEX(0x000000, 1.0), this);
    picker->setMode(m_mode);
    picker->setReplacementColors(m_replacementColors);
    picker->setReplacedColors(m_replacedColors);
    picker->setColorDidChangeHandler([this, picker](const QColor& color, const QColor& original) {
        m_replacedColors = picker->replacedColors();
        m_replacementColor = original;
        setRawColorValue(color);
        callHandler();
    });
    picker->setPickerDidCloseHandler([this](PTColourPickerController* closed) {
        closed->deleteLater();
        m_colorController = nullptr;
    });
    m_colorController = picker;
    const int inset = static_cast<int>(m_popoverInset);
    picker->showRelativeToRect(rect().adjusted(inset, inset, -inset, -inset), this, Qt::BottomEdge);
}

void PTColourPickerControl::setMenuDelegate(QMenu* menu)
{
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { menuWillOpen(menu); });
}

void PTColourPickerControl::menuWillOpen(QMenu* menu)
{
    for (QAction* item : menu->actions()) {
        if (item->icon().isNull() && item->data().typeId() == QMetaType::QColor)
            item->setIcon(QPixmap::fromImage(imageForColor(item->data().value<QColor>(), 12.0)));
    }
}

void PTColourPickerControl::clear()
{
    setRawColorValue(QColor());
    callHandler();
}

void PTColourPickerControl::recalculateLabel()
{
    if (m_drawsLabels)
        setLabel(m_color.isValid() ? QLatin1Char('#') + HSBComponents::HEXString(m_color) : kDefaultLabel, 0);
}

void PTColourPickerControl::recalculateImage()
{
    if (m_drawsImage)
        setImage(imageForColor(m_color, kImageSize), 0);
}

QImage PTColourPickerControl::imageForColor(const QColor& color, qreal size)
{
    const int side = static_cast<int>(std::ceil(size));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    PTColourPickerController::SwatchLook look;
    look.noneBackground = PTThemeIsAppearance(0) ? PTStyles::sidebarBackgroundColor() : QColor(Qt::white);
    PTColourPickerController::drawSwatch(painter, QRectF(0, 0, size, size), color, look);
    return image;
}
