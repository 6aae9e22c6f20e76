#include "ui/colour/PTColourPickerController.h"

#include "ui/colour/HSBComponents.h"
#include "ui/colour/NameThatColor.h"
#include "ui/colour/PTAlphaPickerView.h"
#include "ui/colour/PTColorBlockView.h"
#include "ui/colour/PTColourPickerHexFormatter.h"
#include "ui/colour/PTColourPickerNumberFormatter.h"
#include "ui/colour/PTHuePickerView.h"
#include "ui/colour/PTSaturationAndBrightnessView.h"
#include "ui/controls/PTSheetTextField.h"
#include "ui/controls/PTSheetViewPopupButton.h"
#include "ui/views/PTPanelSeparator.h"
#include "ui/views/PTPopover.h"
#include "ui/views/PTStackView.h"

#include "foundation/ColorPrivate.h"
#include "foundation/MCAdditions.h"
#include "svg/model/PTSVGColor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>

const QString PTColourPickerController::kAllColorsTitle = QStringLiteral("All Colors");

namespace {

constexpr int kPickerWidth = 232;
constexpr int kInset = 10;
constexpr int kSquareHeight = 150;
constexpr int kStripHeight = 12;
constexpr int kRowHeight = 24;
constexpr int kMenuImageSide = 16;
constexpr int kCheckerTile = 6;

QColor deviceRGB(const QColor& color)
{
    return color.isValid() ? color.toRgb() : QColor();
}

QString hexText(const QColor& color)
{
    return QLatin1Char('#') + HSBComponents::HEXString(color);
}

// A row of the stack: the widgets side by side inside the picker's margins.
QWidget* row(const std::vector<QWidget*>& widgets, int height)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(kInset, 0, kInset, 0);
    layout->setSpacing(4);
    for (QWidget* widget : widgets)
        layout->addWidget(widget);
    row->resize(kPickerWidth, height);
    return row;
}

PTSheetTextField* field(QValidator* validator, QWidget* owner)
{
    auto* field = new PTSheetTextField(owner);
    field->setValidator(validator);
    field->setMinimumWidth(30);
    field->setAlignment(Qt::AlignCenter);
    return field;
}

} // namespace

PTColourPickerController::PTColourPickerController(const QColor& color, QObject* parent)
    : QObject(parent)
    , m_initialColor(deviceRGB(color))
{
    setColor(color);
}

PTColourPickerController::~PTColourPickerController()
{
    // The popover holds the view while shown; the view is ours.
    if (m_view)
        m_view->setParent(nullptr);
    delete m_popover;
    delete m_view;
}

void PTColourPickerController::setColor(const QColor& color)
{
    m_color = color.isValid() ? color.toRgb() : PTColorFromHEX(0x000000, 1.0).toRgb();
    if (isLoaded())
        setColorAgainstView(m_color, true);
}

void PTColourPickerController::setMode(int mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    modeDidChange();
}

void PTColourPickerController::setReplacementColors(const std::vector<QColor>& colors)
{
    m_replacementColors.clear();
    for (const QColor& color : colors)
        m_replacementColors.push_back(deviceRGB(color));
}

void PTColourPickerController::setReplacedColors(const ReplacedColors& colors)
{
    if (colors.empty() && m_replacedColors.empty())
        return;
    m_replacedColors.clear();
    for (const auto& [original, replacement] : colors)
        m_replacedColors.emplace_back(deviceRGB(original), deviceRGB(replacement));
    replaceColorDidChange(true);
}

PTPopover* PTColourPickerController::popover()
{
    if (!m_popover) {
        m_popover = new PTPopover;
        connect(m_popover, &PTPopover::shown, this, [this] {
            if (m_pickerDidShowHandler)
                m_pickerDidShowHandler(this);
        });
        connect(m_popover, &PTPopover::closed, this, [this] {
            PTPopover* closing = m_popover;
            if (m_view)
                m_view->setParent(nullptr);
            m_popover = nullptr;
            closing->deleteLater();
            if (m_pickerDidCloseHandler)
                m_pickerDidCloseHandler(this);
        });
    }
    return m_popover;
}

void PTColourPickerController::showRelativeToRect(const QRect& rect, QWidget* view, Qt::Edge edge)
{
    ensureLoaded();
    PTPopover* shown = popover();
    shown->setContentWidget(m_view);
    shown->showRelativeTo(rect, view, edge);
}

void PTColourPickerController::ensureLoaded()
{
    if (isLoaded())
        return;
    buildView();
    m_stack->setDidLayoutHandler([this](const QRect& frame) {
        // Fixed, not just resized: the popover sizes itself from its layout, and a view without a layout of its
        // own offers no size there.
        m_view->setFixedSize(frame.size());
        if (m_popover)
            m_popover->adjustSize();
    });
    connect(m_dropdown, &PTSheetViewPopupButton::itemSelected, this, [this] { replaceColorDidChange(true); });
    connect(m_hueStrip, &PTColourPickerClippedView::valueChanged, this, &PTColourPickerController::hueDidChange);
    connect(m_square, &PTColourPickerClippedView::valueChanged, this, [this] { colorDidChange(true); });
    connect(m_alphaStrip, &PTColourPickerClippedView::valueChanged, this, [this] { colorDidChange(true); });
    connect(m_hexField, &QLineEdit::editingFinished, this, &PTColourPickerController::updateColorFromHex);
    for (PTSheetTextField* component : {m_rField, m_gField, m_bField, m_aField})
        connect(component, &QLineEdit::editingFinished, this, &PTColourPickerController::updateColorFromRGBA);
    setColorAgainstView(m_color, true);
    m_initialHexValue = m_hexField->text();
    m_hasInitialValues = true;
    const PTSheetTextField* components[] = {m_rField, m_gField, m_bField, m_aField};
    for (int i = 0; i < 4; ++i)
        m_initialValues[i] = componentValue(components[i]);
    m_colorBlockView->setClickHandler([this](const QColor& color) {
        setColor(color);
        if (color.isValid()) {
            callHandlers();
        } else {
            clearReplacementsIfRequired();
            callHandlerWithNil();
        }
    });
    m_colorBlockView->setNewColorHandler([this] { return m_color; });
    modeDidChange();
    if (m_mode == 1)
        computeColors();
}

void PTColourPickerController::buildView()
{
    m_view = new QWidget;
    m_view->setAccessibleName(QStringLiteral("Colour picker"));
    m_view->resize(kPickerWidth, 10);
    m_stack = new PTStackView(m_view);
    m_stack->resize(kPickerWidth, 10);
    m_stack->setContentInsets(QMarginsF(0, kInset, 0, kInset));
    m_stack->setSpacing(8);
    auto* separator = new PTPanelSeparator;
    separator->resize(0, 1);
    separator->setSoften(true);
    m_stack->setSpacerView(separator);

    m_dropdown = new PTSheetViewPopupButton;
    m_dropdown->setAccessibleName(QStringLiteral("Colour to replace"));
    m_dropdownRow = row({m_dropdown}, kRowHeight);
    m_dropdownRow->setParent(m_view);
    m_dropdownRow->hide();

    m_square = new PTSaturationAndBrightnessView;
    m_square->setAccessibleName(QStringLiteral("Saturation and brightness"));
    m_hueStrip = new PTHuePickerView;
    m_hueStrip->setAccessibleName(QStringLiteral("Hue"));
    m_alphaStrip = new PTAlphaPickerView;
    m_alphaStrip->setAccessibleName(QStringLiteral("Opacity"));
    auto* numbers = new PTColourPickerNumberFormatter(255, m_view);
    m_hexField = field(new PTColourPickerHexFormatter(m_view), m_view);
    m_rField = field(numbers, m_view);
    m_gField = field(numbers, m_view);
    m_bField = field(numbers, m_view);
    m_aField = field(new PTColourPickerNumberFormatter(100, m_view), m_view);
    m_hexField->setAccessibleName(QStringLiteral("Hex"));
    m_rField->setAccessibleName(QStringLiteral("Red"));
    m_gField->setAccessibleName(QStringLiteral("Green"));
    m_bField->setAccessibleName(QStringLiteral("Blue"));
    m_aField->setAccessibleName(QStringLiteral("Alpha"));
    QWidget* fields = row({m_hexField, m_rField, m_gField, m_bField, m_aField}, kRowHeight);
    m_hexField->setMinimumWidth(72);
    m_colorBlockView = new PTColorBlockView(nullptr, m_swatchFolder);
    m_colorBlockView->resize(kPickerWidth, PTColorBlockView::heightFor(int(m_colorBlockView->colors().size()),
                                                                       kPickerWidth));
    m_stack->setViews({row({m_square}, kSquareHeight), row({m_hueStrip}, kStripHeight),
                       row({m_alphaStrip}, kStripHeight), m_colorBlockView, fields});
}

void PTColourPickerController::modeDidChange()
{
    if (!isLoaded())
        return;
    const bool arranged = m_stack->isArranged(m_dropdownRow);
    if (m_mode == 0 && arranged) {
        m_stack->removeView(m_dropdownRow);
        m_dropdownRow->setParent(m_view);
        m_dropdownRow->hide();
    } else if (m_mode != 0 && !arranged) {
        m_stack->insertView(m_dropdownRow, 0);
        m_dropdownRow->show();
    }
}

void PTColourPickerController::computeColors()
{
    m_lastSelectedColorIndex = -1;
    auto* menu = new QMenu(m_dropdown);
    QAction* allColors = menu->addAction(kAllColorsTitle);
    menu->addSeparator();
    QAction* chosen = nullptr;
    for (const QColor& original : m_replacementColors) {
        const QColor replacement = replacementFor(original);
        QAction* item = menu->addAction(QIcon(QPixmap::fromImage(imageForColor(original, replacement, kMenuImageSide))),
                                        menuItemNameForColor(original));
        item->setData(original);
        if (original == m_initialColor || (replacement.isValid() && replacement == m_initialColor))
            chosen = item;
    }
    // Selecting reports through itemSelected; the first pass below must stay silent.
    const QSignalBlocker quiet(m_dropdown);
    m_dropdown->setPopupMenu(menu);
    m_dropdown->selectItem(chosen ? chosen : allColors);
    replaceColorDidChange(false);
}

void PTColourPickerController::setColorAgainstView(const QColor& color, bool update)
{
    m_square->setColor(color);
    m_hueStrip->setColor(color);
    m_alphaStrip->setColor(color);
    if (update)
        updateControls();
}

void PTColourPickerController::updateControls()
{
    m_hexField->setText(hexText(m_color));
    updateComponentsFromHEXColor(m_color);
    m_aField->setText(QString::number(std::lround(m_color.alphaF() * 100)));
}

void PTColourPickerController::updateComponentsFromHEXColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    m_rField->setText(QString::number(std::lround(rgb.redF() * 255)));
    m_gField->setText(QString::number(std::lround(rgb.greenF() * 255)));
    m_bField->setText(QString::number(std::lround(rgb.blueF() * 255)));
}

void PTColourPickerController::updateHexFromComponentsColor(const QColor& color)
{
    m_hexField->setText(hexText(color));
}

void PTColourPickerController::clearInitialValues()
{
    m_hasInitialValues = false;
    m_initialHexValue.clear();
    std::fill(std::begin(m_initialValues), std::end(m_initialValues), -1);
}

double PTColourPickerController::componentValue(const PTSheetTextField* field) const
{
    return QLocale::c().toDouble(field->text());
}

void PTColourPickerController::updateColorFromHex()
{
    if (m_hasInitialValues && m_hexField->text() == m_initialHexValue)
        return;
    clearInitialValues();
    const double alpha = m_alphaStrip->alpha();
    const QColor color = PTSVGColor::colorFromHEXString(m_hexField->text(), alpha)
                             .value_or(PTColorFromHEX(0x000000, static_cast<float>(alpha)))
                             .toRgb();
    m_hexField->setText(hexText(color));
    setColorAgainstView(color, false);
    updateComponentsFromHEXColor(color);
    colorDidChange(false);
}

void PTColourPickerController::updateColorFromRGBA()
{
    const double values[4] = {componentValue(m_rField), componentValue(m_gField), componentValue(m_bField),
                              componentValue(m_aField)};
    if (m_hasInitialValues && std::equal(std::begin(values), std::end(values), std::begin(m_initialValues)))
        return;
    clearInitialValues();
    const QColor color = QColor::fromRgbF(static_cast<float>(values[0] / 255), static_cast<float>(values[1] / 255),
                                          static_cast<float>(values[2] / 255), static_cast<float>(values[3] / 100));
    setColorAgainstView(color, false);
    updateHexFromComponentsColor(color);
    colorDidChange(false);
}

void PTColourPickerController::hueDidChange()
{
    m_square->setHue(m_hueStrip->hue());
    colorDidChange(true);
}

void PTColourPickerController::colorDidChange(bool updateFields)
{
    const double hue = m_square->hue() >= 1 ? 0 : m_square->hue();
    const QColor color = QColor::fromHsvF(static_cast<float>(hue), static_cast<float>(m_square->saturation()),
                                          static_cast<float>(m_square->brightness()),
                                          static_cast<float>(m_alphaStrip->alpha()))
                             .toRgb();
    if (color == m_color)
        return;
    const double alpha = m_alphaStrip->alpha();
    m_alphaStrip->setColor(color);
    m_alphaStrip->setAlpha(alpha);
    m_color = color;
    if (updateFields)
        updateControls();
    callHandlers();
}

QColor PTColourPickerController::currentReplacementColor() const
{
    if (!m_dropdown || !m_dropdown->selectedItem())
        return QColor();
    return m_dropdown->selectedItem()->data().value<QColor>();
}

int PTColourPickerController::currentReplacementColorIndex() const
{
    if (!m_dropdown || !m_dropdown->menu() || !m_dropdown->selectedItem())
        return -1;
    return int(m_dropdown->menu()->actions().indexOf(m_dropdown->selectedItem()));
}

QColor PTColourPickerController::replacementFor(const QColor& original) const
{
    const auto found = std::find_if(m_replacedColors.begin(), m_replacedColors.end(),
                                    [&](const auto& entry) { return entry.first == original; });
    return found == m_replacedColors.end() ? QColor() : found->second;
}

void PTColourPickerController::replaceColorDidChange(bool callHandler)
{
    if (!isLoaded() || !m_dropdown->menu())
        return;
    const int index = currentReplacementColorIndex();
    if (index == m_lastSelectedColorIndex)
        return;
    m_lastSelectedColorIndex = index;
    const QColor original = currentReplacementColor();
    const QColor replacement = original.isValid() ? replacementFor(original) : QColor();
    if (replacement.isValid())
        setColor(replacement);
    else
        setColor(original.isValid() ? original : m_initialColor);
    if (callHandler)
        callHandlers();
}

void PTColourPickerController::replaceColor(const QColor& original, const QColor& color)
{
    const QColor replacement = deviceRGB(color);
    const auto found = std::find_if(m_replacedColors.begin(), m_replacedColors.end(),
                                    [&](const auto& entry) { return entry.first == original; });
    if (found == m_replacedColors.end())
        m_replacedColors.emplace_back(original, replacement);
    else
        found->second = replacement;
    if (QAction* item = m_dropdown->selectedItem()) {
        item->setText(menuItemNameForColor(replacement));
        item->setIcon(QPixmap::fromImage(imageForColor(original, replacement, kMenuImageSide)));
        m_dropdown->update();
    }
}

void PTColourPickerController::removeReplacedColor(const QColor& original)
{
    std::erase_if(m_replacedColors, [&](const auto& entry) { return entry.first == original; });
    if (QAction* item = m_dropdown->selectedItem()) {
        item->setText(menuItemNameForColor(original));
        item->setIcon(QPixmap::fromImage(imageForColor(original, QColor(), kMenuImageSide)));
        m_dropdown->update();
    }
}

void PTColourPickerController::callHandlers()
{
    if (!m_colorDidChangeHandler)
        return;
    const QColor original = m_mode == 1 ? currentReplacementColor() : QColor();
    if (original.isValid() && m_color != original)
        replaceColor(original, m_color);
    m_colorDidChangeHandler(m_color, original);
}

void PTColourPickerController::callHandlerWithNil()
{
    if (!m_colorDidChangeHandler)
        return;
    if (m_mode == 0) {
        m_colorDidChangeHandler(QColor(), QColor());
        return;
    }
    const QColor original = currentReplacementColor();
    if (original.isValid())
        removeReplacedColor(original);
    replaceColorDidChange(false);
    if (original.isValid())
        m_colorDidChangeHandler(m_color, original);
    else
        m_colorDidChangeHandler(QColor(), QColor());
}

void PTColourPickerController::clearReplacementsIfRequired()
{
    if (m_mode == 1)
        setColor(currentReplacementColor());
}

QString PTColourPickerController::menuItemNameForColor(const QColor& color)
{
    return QStringLiteral("%1 (%2)").arg(NameThatColor::ntc_name(color), hexText(color));
}

const QBrush& PTColourPickerController::tiledCheckeredColor()
{
    static const QBrush brush = [] {
        QPixmap tile(kCheckerTile, kCheckerTile);
        tile.fill(Qt::white);
        QPainter painter(&tile);
        const int half = kCheckerTile / 2;
        painter.fillRect(0, 0, half, half, Qt::black);
        painter.fillRect(half, half, half, half, Qt::black);
        return QBrush(tile);
    }();
    return brush;
}

void PTColourPickerController::drawSwatch(QPainter& painter, const QRectF& rect, const QColor& color,
                                          const SwatchLook& look)
{
    const QPainterPath path = MCAdditions::bezierPathWithRoundRect(rect, look.radius);
    painter.save();
    if (color.isValid()) {
        if (!look.checkerOnlyWhenTranslucent || color.alphaF() != 1.0) {
            painter.setOpacity(look.checkerOpacity);
            painter.fillPath(path, tiledCheckeredColor());
            painter.setOpacity(1);
        }
        painter.fillPath(path, color);
    } else {
        painter.fillPath(path, look.noneBackground);
        painter.setClipPath(path);
        painter.setPen(QPen(PTColorFromHEX(0xFF0000, 1.0), 2));
        painter.drawLine(rect.bottomLeft(), rect.topRight());
        painter.setClipping(false);
    }
    painter.setPen(QPen(PTColorFromHEX(0x000000, 0.15), 1));
    MCAdditions::strokeInside(painter, path);
    painter.restore();
}

QImage PTColourPickerController::imageForColor(const QColor& color, const QColor& replacementColor, int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF square(0, 0, side, side);
    drawSwatch(painter, square, color, SwatchLook());
    if (color.isValid() && replacementColor.isValid()) {
        painter.setClipPath(MCAdditions::bezierPathWithRoundRect(square, SwatchLook().radius));
        QPainterPath lowerRight;
        lowerRight.moveTo(square.topRight());
        lowerRight.lineTo(square.bottomLeft());
        lowerRight.lineTo(square.bottomRight());
        lowerRight.closeSubpath();
        painter.fillPath(lowerRight, Qt::white);
        painter.setOpacity(SwatchLook().checkerOpacity);
        painter.fillPath(lowerRight, tiledCheckeredColor());
        painter.setOpacity(1);
        painter.fillPath(lowerRight, replacementColor);
        painter.setClipping(false);
        painter.setPen(QPen(PTColorFromHEX(0x000000, 0.15), 1));
        MCAdditions::strokeInside(painter, MCAdditions::bezierPathWithRoundRect(square, SwatchLook().radius));
    }
    return image;
}
