#include "sidebar/PTSourceListDelegate.h"

#include "foundation/ColorPrivate.h"
#include "foundation/DrawingAdditions.h"
#include "sidebar/PTSourceListItem.h"
#include "sidebar/PTSourceListModel.h"
#include "sidebar/PTSourceListView.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

#include <cmath>

namespace {

const char* const IconFiles[] = {":/sidebar/icon-sidebar-all.png", ":/sidebar/icon-sidebar-group.png",
                                 ":/sidebar/icon-sidebar-set.png", ":/sidebar/icon-sidebar-uncategorized.png"};

QFont titleFont(bool bold)
{
    QFont font = PTStyles::systemFont(13);
    font.setBold(bold);
    return font;
}

} // namespace

PTSourceListDelegate::PTSourceListDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
    redisplay();
}

void PTSourceListDelegate::redisplay()
{
    const QColor tint = colorPrivate::colorFromHEX(PTThemeIsAppearance(0) ? 0xAEB0B1 : 0x7A7A7A, 1);
    for (int icon = 0; icon < IconCount; ++icon) {
        const QImage mask(QString::fromLatin1(IconFiles[icon]));
        images_[icon][0] = DrawingAdditions::colorizeAlphaWithColor(mask, tint);
        images_[icon][1] = DrawingAdditions::colorizeAlphaWithColor(mask, Qt::white);
    }
}

QImage PTSourceListDelegate::imageFor(const PTSourceListItem* item, bool selected) const
{
    if (!item)
        return {};
    switch (item->kind()) {
    case PTSourceListItem::Kind::All:
        return images_[All][selected];
    case PTSourceListItem::Kind::Object:
        if (item->isGroupObject())
            return images_[Group][selected];
        return images_[item->isMiscellaneous() ? Miscellaneous : Set][selected];
    default:
        return {};
    }
}

void PTSourceListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const auto* item = static_cast<const PTSourceListItem*>(index.data(PTSourceListModel::ItemRole).value<void*>());
    if (!item || item->kind() == PTSourceListItem::Kind::Spacer)
        return;
    const auto* view = qobject_cast<const PTSourceListView*>(option.widget);
    const bool selected = option.state & QStyle::State_Selected;
    const bool dark = PTThemeIsAppearance(0);
    QRectF bounds = option.rect;
    qreal x = bounds.x() + 4;
    qreal width = bounds.width() - 10;
    if (view && view->hoveredRow() == index && view->showsDots(index))
        width -= PTSourceListView::contextualMenuClickRect(0, 0).width() - 5;
    const QImage image = imageFor(item, selected);
    if (!image.isNull()) {
        const QSizeF size = image.deviceIndependentSize();
        const float y = std::round(float(bounds.y() + bounds.height() / 2 - size.height() / 2));
        painter->drawImage(QPointF(x, y), image);
        x += size.width() + 5;
        width -= size.width() + 8;
    }
    if (view && view->isEditingRow(index))
        return;
    const bool header = item->kind() == PTSourceListItem::Kind::Header;
    const QFont font = titleFont(header);
    QColor colour;
    if (header)
        colour = colorPrivate::colorFromHEX(dark ? 0xFFFFFF : 0x818181, 1);
    else
        colour = selected ? QColor(Qt::white) : colorPrivate::colorFromHEX(dark ? 0xDDDDDD : 0x555555, 1);
    const QFontMetricsF metrics(font);
    const qreal height = metrics.height();
    const QString title = metrics.elidedText(item->title(), Qt::ElideRight, std::max<qreal>(width, 0));
    painter->save();
    painter->setFont(font);
    painter->setPen(colour);
    painter->drawText(QRectF(x, bounds.y() + std::round(bounds.height() / 2 - height / 2), std::max<qreal>(width, 0),
                             height),
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title);
    painter->restore();
}

QSize PTSourceListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QSize hint = index.data(Qt::SizeHintRole).toSize();
    return QSize(option.rect.width(), hint.height());
}

QWidget* PTSourceListDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setFont(PTStyles::systemFont(12));
    editor->setAccessibleName(tr("Name"));
    // The list hides the style's highlight behind its own row shape; the name being typed shows its selection in
    // the theme's blue so the preselected text stays legible.
    QPalette colours = editor->palette();
    colours.setColor(QPalette::Highlight, PTStyles::defaultBlue());
    colours.setColor(QPalette::HighlightedText, Qt::white);
    editor->setPalette(colours);
    return editor;
}

void PTSourceListDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    QStyledItemDelegate::setEditorData(editor, index);
    if (auto* field = qobject_cast<QLineEdit*>(editor))
        field->selectAll();
}

void PTSourceListDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                                const QModelIndex& index) const
{
    const auto* item = static_cast<const PTSourceListItem*>(index.data(PTSourceListModel::ItemRole).value<void*>());
    QRect frame = option.rect;
    const QImage image = imageFor(item, false);
    if (!image.isNull()) {
        const int shift = int(image.deviceIndependentSize().width()) + 6;
        frame.adjust(shift, 0, 0, 0);
    }
    editor->setGeometry(frame.adjusted(2, 3, -10, -3));
}

bool PTSourceListDelegate::eventFilter(QObject* object, QEvent* event)
{
    auto* editor = qobject_cast<QWidget*>(object);
    if (editor && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        // Escape keeps the typed name, as Return does.
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        return true;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
