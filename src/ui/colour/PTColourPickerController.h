#pragma once

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QObject>
#include <QPointer>

#include <functional>
#include <utility>
#include <vector>

class PTAlphaPickerView;
class PTColorBlockView;
class PTHuePickerView;
class PTPopover;
class PTSaturationAndBrightnessView;
class PTSheetTextField;
class PTSheetViewPopupButton;
class PTStackView;
class QAction;
class QPainter;
class QWidget;

// The colour picker shown in a popover: a saturation-brightness square, hue and alpha strips, a hex field and
// R/G/B/A fields. Mode 0 edits one colour; mode 1 offers the colours of an icon in a drop-down and records a
// replacement for each chosen original. All colours are kept as device RGB; an invalid QColor stands for none.
class PTColourPickerController : public QObject {
    Q_OBJECT
public:
    // The new colour and the original it replaces (invalid in mode 0 or for "All Colors").
    using ColorDidChangeHandler = std::function<void(const QColor& color, const QColor& original)>;
    using PickerHandler = std::function<void(PTColourPickerController* controller)>;
    // Original colour to replacement, in the order they were recorded.
    using ReplacedColors = std::vector<std::pair<QColor, QColor>>;

    static const QString kAllColorsTitle;

    explicit PTColourPickerController(const QColor& color, QObject* parent = nullptr);
    ~PTColourPickerController() override;

    QColor color() const { return m_color; }
    // Stores the colour (none becomes opaque black) and, once loaded, shows it; reports nothing.
    void setColor(const QColor& color);
    int mode() const { return m_mode; }
    void setMode(int mode);
    const std::vector<QColor>& replacementColors() const { return m_replacementColors; }
    void setReplacementColors(const std::vector<QColor>& colors);
    const ReplacedColors& replacedColors() const { return m_replacedColors; }
    void setReplacedColors(const ReplacedColors& colors);
    void setColorDidChangeHandler(ColorDidChangeHandler handler) { m_colorDidChangeHandler = std::move(handler); }
    void setPickerDidShowHandler(PickerHandler handler) { m_pickerDidShowHandler = std::move(handler); }
    void setPickerDidCloseHandler(PickerHandler handler) { m_pickerDidCloseHandler = std::move(handler); }

    // The popover, made on first use and let go when it has closed.
    PTPopover* popover();
    void showRelativeToRect(const QRect& rect, QWidget* view, Qt::Edge edge);
    // Builds the picker's widgets on first call; settings made before are only stored until then.
    void ensureLoaded();
    bool isLoaded() const { return m_view != nullptr; }
    QWidget* view() const { return m_view; }
    // Where the swatch grid keeps its file; empty (the default) is the current library's. Takes effect on loading.
    void setSwatchFolder(const QString& folder) { m_swatchFolder = folder; }

    PTSaturationAndBrightnessView* saturationAndBrightnessView() const { return m_square; }
    PTHuePickerView* huePickerView() const { return m_hueStrip; }
    PTAlphaPickerView* alphaPickerView() const { return m_alphaStrip; }
    PTSheetViewPopupButton* colorDropdownControl() const { return m_dropdown; }
    PTColorBlockView* colorBlockView() const { return m_colorBlockView; }
    PTSheetTextField* hexField() const { return m_hexField; }
    PTSheetTextField* rField() const { return m_rField; }
    PTSheetTextField* gField() const { return m_gField; }
    PTSheetTextField* bField() const { return m_bField; }
    PTSheetTextField* aField() const { return m_aField; }

    // The selected drop-down item's original colour; none for "All Colors" or before loading.
    QColor currentReplacementColor() const;
    int currentReplacementColorIndex() const;
    // A colour's name and hex text, as the drop-down titles it.
    static QString menuItemNameForColor(const QColor& color);
    // The faint checkerboard under transparent colours.
    static const QBrush& tiledCheckeredColor();
    // How drawSwatch draws a colour cell.
    struct SwatchLook {
        qreal radius = 2;
        qreal checkerOpacity = 0.1;
        bool checkerOnlyWhenTranslucent = false;
        QColor noneBackground = Qt::white;
    };
    // A rounded cell of the colour over the checkerboard, or for none the background crossed by a red diagonal
    // rising to the right; both with a faint inner edge.
    static void drawSwatch(QPainter& painter, const QRectF& rect, const QColor& color, const SwatchLook& look);
    // A rounded square of the side: the colour in the upper left, the replacement in the lower right; none gives
    // white with a red diagonal.
    static QImage imageForColor(const QColor& color, const QColor& replacementColor, int side);

    // The fields' actions, run when editing finishes.
    void updateColorFromHex();
    void updateColorFromRGBA();

private:
    void buildView();
    void modeDidChange();
    void computeColors();
    void setColorAgainstView(const QColor& color, bool updateControls);
    void updateControls();
    void updateComponentsFromHEXColor(const QColor& color);
    void updateHexFromComponentsColor(const QColor& color);
    void clearInitialValues();
    void hueDidChange();
    void colorDidChange(bool updateFields);
    void replaceColorDidChange(bool callHandler);
    void replaceColor(const QColor& original, const QColor& color);
    void removeReplacedColor(const QColor& original);
    QColor replacementFor(const QColor& original) const;
    void callHandlers();
    void callHandlerWithNil();
    void clearReplacementsIfRequired();
    double componentValue(const PTSheetTextField* field) const;

    QColor m_color;
    QColor m_initialColor;
    int m_mode = 0;
    std::vector<QColor> m_replacementColors;
    ReplacedColors m_replacedColors;
    int m_lastSelectedColorIndex = 0;
    QString m_initialHexValue;
    bool m_hasInitialValues = false;
    double m_initialValues[4] = {-1, -1, -1, -1};
    ColorDidChangeHandler m_colorDidChangeHandler;
    PickerHandler m_pickerDidShowHandler;
    PickerHandler m_pickerDidCloseHandler;

    // Ours, though a popover or a page may hold it.
    QPointer<QWidget> m_view;
    QPointer<PTPopover> m_popover;
    PTStackView* m_stack = nullptr;
    QWidget* m_dropdownRow = nullptr;
    PTSheetViewPopupButton* m_dropdown = nullptr;
    PTSaturationAndBrightnessView* m_square = nullptr;
    PTHuePickerView* m_hueStrip = nullptr;
    PTAlphaPickerView* m_alphaStrip = nullptr;
    PTColorBlockView* m_colorBlockView = nullptr;
    QString m_swatchFolder;
    PTSheetTextField* m_hexField = nullptr;
    PTSheetTextField* m_rField = nullptr;
    PTSheetTextField* m_gField = nullptr;
    PTSheetTextField* m_bField = nullptr;
    PTSheetTextField* m_aField = nullptr;
};
