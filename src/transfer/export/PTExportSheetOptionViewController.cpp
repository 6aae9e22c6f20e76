#include "transfer/export/PTExportSheetOptionViewController.h"

#include "platform/runtime/DispatchQueue.h"
#include "transfer/export/PTExporterSheetRowView.h"
#include "ui/colour/PTColourWellControl.h"
#include "ui/controls/PTSheetTextField.h"
#include "ui/controls/PTSheetViewPopupButton.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>

namespace {

constexpr double kReportDelay = 0.1;
constexpr int kRowHeight = 26;
constexpr int kControlHeight = 22;

PTSheetTextField* textField(const QString& name, const QString& placeholder, int width)
{
    auto* field = new PTSheetTextField;
    field->setAccessibleName(name);
    field->setPlaceholderText(placeholder);
    field->setFixedSize(width, kControlHeight);
    return field;
}

} // namespace

QString PTExportSheetOptionViewController::formatTitle(qint64 format)
{
    switch (format) {
    case PTExportFormatTIFF: return QStringLiteral("TIFF");
    case PTExportFormatWebP: return QStringLiteral("WEBP");
    case PTExportFormatGIF: return QStringLiteral("GIF");
    case PTExportFormatICO: return QStringLiteral("ICO");
    case PTExportFormatSVG: return QStringLiteral("SVG");
    case PTExportFormatPDF: return QStringLiteral("PDF");
    case PTExportFormatEPS: return QStringLiteral("EPS");
    case PTExportFormatJPG: return QStringLiteral("JPG");
    case PTExportFormatOriginal: return QStringLiteral("ORIG");
    default: return QStringLiteral("PNG");
    }
}

const QList<qint64>& PTExportSheetOptionViewController::formatMenuOrder()
{
    static const QList<qint64> order = {PTExportFormatPNG, PTExportFormatTIFF, PTExportFormatWebP, PTExportFormatGIF,
                                        PTExportFormatICO, -1, PTExportFormatSVG, PTExportFormatPDF, PTExportFormatEPS,
                                        -1, PTExportFormatJPG, -1, PTExportFormatOriginal};
    return order;
}

const QStringList& PTExportSheetOptionViewController::icoSizes()
{
    static const QStringList sizes = {QStringLiteral("16s"), QStringLiteral("32s"), QStringLiteral("64s"),
                                      QStringLiteral("128s"), QStringLiteral("256s")};
    return sizes;
}

PTExportSheetOptionViewController::PTExportSheetOptionViewController(QObject* parent)
    : QObject(parent), view_(new PTExporterSheetRowView)
{
    view_->setAccessibleName(QStringLiteral("Output"));
    auto* layout = new QHBoxLayout(view_);
    layout->setContentsMargins(20, 0, 20, 0);
    layout->setSpacing(6);
    view_->setFixedHeight(kRowHeight);

    colorWell_ = new PTColourWellControl;
    colorWell_->setAccessibleName(QStringLiteral("Colour"));
    colorWell_->setFixedSize(36, 22);

    typeMenu_ = new QMenu(view_);
    for (const qint64 format : formatMenuOrder()) {
        if (format < 0) {
            typeMenu_->addSeparator();
            continue;
        }
        typeMenu_->addAction(formatTitle(format))->setData(format);
    }
    typeControl_ = new PTSheetViewPopupButton;
    typeControl_->setAccessibleName(QStringLiteral("Format"));
    typeControl_->setPopupMenu(typeMenu_);
    typeControl_->setFixedSize(80, kControlHeight);

    icoMenu_ = new QMenu(view_);
    for (const QString& size : icoSizes())
        icoMenu_->addAction(size)->setData(size);
    icoSizeControl_ = new PTSheetViewPopupButton;
    icoSizeControl_->setAccessibleName(QStringLiteral("ICO size"));
    icoSizeControl_->setPopupMenu(icoMenu_);

    sizeControl_ = textField(QStringLiteral("Size"), QStringLiteral("1x"), 80);
    sizeSlot_ = new QStackedWidget;
    sizeSlot_->setFixedSize(80, kControlHeight);
    sizeSlot_->addWidget(sizeControl_);
    sizeSlot_->addWidget(icoSizeControl_);
    prefixControl_ = textField(QStringLiteral("Prefix"), QStringLiteral("Prefix"), 90);
    suffixControl_ = textField(QStringLiteral("Suffix"), QStringLiteral("Suffix"), 90);

    closeControl_ = new QPushButton(QStringLiteral("\u2715"));
    closeControl_->setAccessibleName(QStringLiteral("Remove output"));
    closeControl_->setFlat(true);
    closeControl_->setFixedSize(18, 18);
    QSizePolicy keepSpace = closeControl_->sizePolicy();
    keepSpace.setRetainSizeWhenHidden(true);
    closeControl_->setSizePolicy(keepSpace);
    closeControl_->hide();

    layout->addWidget(closeControl_);
    layout->addWidget(colorWell_);
    layout->addWidget(typeControl_);
    layout->addWidget(sizeSlot_);
    layout->addWidget(prefixControl_);
    layout->addWidget(suffixControl_);
    layout->addStretch();

    connect(closeControl_, &QPushButton::clicked, this, &PTExportSheetOptionViewController::remove);
    // The menus' own signals, which only the user's choices send; the buttons have selected the item by then.
    connect(typeMenu_, &QMenu::triggered, this, [this] { formatDidChange(); });
    connect(icoMenu_, &QMenu::triggered, this, [this] { updateOptionFromView(true); });
    for (PTSheetTextField* field : {sizeControl_, prefixControl_, suffixControl_})
        connect(field, &QLineEdit::textEdited, this, [this] { updateOptionFromView(false); });
    colorWell_->setColorDidChangeHandler([this](const QColor&, const QColor&) { updateOptionFromView(false); });
    view_->mouseEnteredHandler = [this] { closeControl_->setVisible(removable_); };
    view_->mouseExitedHandler = [this] { closeControl_->hide(); };
    setOption(PTExportOutputOption());
}

PTExportSheetOptionViewController::~PTExportSheetOptionViewController()
{
    delete view_.data();
}

void PTExportSheetOptionViewController::setOption(const PTExportOutputOption& option)
{
    option_ = option;
    changeCopy_ = option;
    ignoreUpdates_ = true;
    prefixControl_->setText(option.prefix);
    suffixControl_->setText(option.suffix);
    colorWell_->setColorWithoutInformingHandlers(option.fillColor);
    ignoreUpdates_ = false;
    selectFormat(option.format);
}

void PTExportSheetOptionViewController::selectFormat(qint64 format)
{
    QAction* first = nullptr;
    QAction* chosen = nullptr;
    for (QAction* action : typeMenu_->actions()) {
        if (action->isSeparator())
            continue;
        first = first ? first : action;
        if (action->data().toLongLong() == format)
            chosen = action;
    }
    typeControl_->selectItem(chosen ? chosen : first);
    formatDidChange();
}

PTExportOutputOption PTExportSheetOptionViewController::option()
{
    synchronize();
    return option_;
}

qint64 PTExportSheetOptionViewController::format() const
{
    const QAction* item = typeControl_->selectedItem();
    return item ? item->data().toLongLong() : PTExportFormatPNG;
}

QString PTExportSheetOptionViewController::sizeFormat() const
{
    if (format() == PTExportFormatICO) {
        const QAction* item = icoSizeControl_->selectedItem();
        return item ? item->data().toString() : QString();
    }
    return sizeControl_->text();
}

void PTExportSheetOptionViewController::setSizeText(const QString& text)
{
    sizeControl_->setText(text);
    updateOptionFromView(true);
}

void PTExportSheetOptionViewController::setFillColor(const QColor& color)
{
    colorWell_->setColorWithoutInformingHandlers(color);
    updateOptionFromView(true);
}

void PTExportSheetOptionViewController::setRemovable(bool removable)
{
    removable_ = removable;
    if (!removable)
        closeControl_->hide();
}

bool PTExportSheetOptionViewController::closeControlVisible() const
{
    return closeControl_->isVisible();
}

void PTExportSheetOptionViewController::remove()
{
    if (removable_ && removalHandler)
        removalHandler(this);
}

void PTExportSheetOptionViewController::focus()
{
    if (sizeSlot_->currentWidget()->isEnabled())
        sizeSlot_->currentWidget()->setFocus();
    else
        prefixControl_->setFocus();
}

void PTExportSheetOptionViewController::formatDidChange()
{
    const bool ico = format() == PTExportFormatICO;
    sizeSlot_->setCurrentWidget(ico ? static_cast<QWidget*>(icoSizeControl_) : sizeControl_);
    // Each size control keeps its own value; the option's text goes to the one that matches its stored format.
    ignoreUpdates_ = true;
    if (option_.format == PTExportFormatICO) {
        QAction* size = icoMenu_->actions().value(std::max<qsizetype>(0, icoSizes().indexOf(option_.sizeFormat)));
        icoSizeControl_->selectItem(size);
    } else if (option_.format != PTExportFormatOriginal) {
        sizeControl_->setText(option_.sizeFormat);
    }
    ignoreUpdates_ = false;
    updateOptionFromView(true);
}

void PTExportSheetOptionViewController::updateOptionFromView(bool immediate)
{
    if (ignoreUpdates_)
        return;
    const qint64 chosen = format();
    const bool original = chosen == PTExportFormatOriginal;
    if (original)
        sizeControl_->clear();
    sizeControl_->setEnabled(!original);
    colorWell_->setEnabled(!original);
    option_.prefix = prefixControl_->text();
    option_.suffix = suffixControl_->text();
    option_.sizeFormat = sizeFormat();
    option_.format = chosen;
    option_.fillColor = colorWell_->color();
    if (option_.equalsOption(changeCopy_))
        return;
    changeCopy_ = option_;
    report(immediate);
}

void PTExportSheetOptionViewController::report(bool immediate)
{
    const quint64 generation = ++pendingReport_;
    if (immediate) {
        if (changeHandler)
            changeHandler(this);
        return;
    }
    QPointer<PTExportSheetOptionViewController> self(this);
    pt::dispatchAfter(kReportDelay, pt::DispatchQueue::main(), [self, generation] {
        if (self && self->pendingReport_ == generation && self->changeHandler)
            self->changeHandler(self);
    });
}
