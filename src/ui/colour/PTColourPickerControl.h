#pragma once

#include "ui/colour/PTColourPickerController.h"
#include "ui/controls/PTSegmentedControl.h"
#include "ui/theme/PTAppearanceObserver.h"

#include <QColor>
#include <QPointer>

class QMenu;

#include <optional>

// A one-segment control that stands for a colour (or none) and opens the colour picker when clicked. It can show
// the colour as a swatch image or as its hex text, passes a replacement mode and an icon's colours on to the
// picker, and reports every change with the original colour it replaces.
class PTColourPickerControl : public PTSegmentedControl {
    Q_OBJECT
public:
    using ColorDidChangeHandler = PTColourPickerController::ColorDidChangeHandler;
    using ReplacedColors = PTColourPickerController::ReplacedColors;

    static const QString kDefaultLabel;

    explicit PTColourPickerControl(QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    // Shows the colour and reports it.
    void setColor(const QColor& color);
    void setColorWithoutInformingHandlers(const QColor& color);
    // A handler set on a control that has a colour runs at once.
    void setColorDidChangeHandler(ColorDidChangeHandler handler);
    bool drawsLabels() const { return m_drawsLabels; }
    void setDrawsLabels(bool draws);
    bool drawsImage() const { return m_drawsImage; }
    void setDrawsImage(bool draws);
    qreal popoverInset() const { return m_popoverInset; }
    void setPopoverInset(qreal inset) { m_popoverInset = inset; }
    int mode() const { return m_mode; }
    // Mode 0 forgets the recorded replacements.
    void setMode(int mode);
    const std::vector<QColor>& replacementColors() const { return m_replacementColors; }
    // Keeps the icon's colours; when the colour is one of the recorded originals or replacements, switches to
    // that original's replacement (searching in the order they were recorded).
    void setReplacementColors(const std::vector<QColor>& colors);
    const ReplacedColors& replacedColors() const { return m_replacedColors; }
    // None while the control has no colour.
    std::optional<ReplacedColors> replacedColorsIfRequired() const;
    // The open picker, null while none is open.
    PTColourPickerController* colorController() const { return m_colorController; }

    // Makes the control the menu's delegate: before it opens, items that carry a colour and no icon get a swatch.
    void setMenuDelegate(QMenu* menu);
    void menuWillOpen(QMenu* menu);

    void showColorPicker();
    void clear();
    // An s x s swatch of the colour, or of none in the theme's colours.
    static QImage imageForColor(const QColor& color, qreal size);

protected:
    void setRawColorValue(const QColor& color);
    void updateAppearance();

private:
    void callHandler();
    void recalculateLabel();
    void recalculateImage();

    bool m_drawsLabels = false;
    bool m_drawsImage = false;
    ColorDidChangeHandler m_colorDidChangeHandler;
    QColor m_color;
    QColor m_replacementColor;
    ReplacedColors m_replacedColors;
    QPointer<PTColourPickerController> m_colorController;
    qreal m_popoverInset = 5.0;
    int m_mode = 0;
    std::vector<QColor> m_replacementColors;
    PTAppearanceObserver m_appearanceObserver{this, &PTColourPickerControl::updateAppearance};
};
