#include "app/PTGridPlaceholder.h"

#include "app/PTWindowBottomBar.h"
#include "browser/grid/PTGridView.h"
#include "browser/grid/PTGridViewCell.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"
#include "platform/runtime/Defaults.h"
#include "ui/theme/PTStyles.h"

#include <QEvent>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString ItemIdentifier = QStringLiteral("item");
const QString HeaderIdentifier = QStringLiteral("header");

// A rounded tile with the item's name under it.
class NameTileCell : public PTGridViewCell {
public:
    NameTileCell()
        : PTGridViewCell(ItemIdentifier)
    {
    }
    QString name;

    void drawCellInRect(QPainter& painter, const QRectF& rect) override
    {
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal labelHeight = qMin<qreal>(16, rect.height() / 4);
        const QRectF tile = rect.adjusted(4, 4, -4, -4 - labelHeight);
        QColor fill = PTStyles::defaultControlTextColor();
        fill.setAlphaF(highlighted() ? 0.45f : 0.18f);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(tile, 4, 4);
        painter.setPen(PTStyles::defaultControlTextColor());
        painter.setFont(PTStyles::systemFont(10));
        const QRectF label(rect.left(), tile.bottom() + 2, rect.width(), labelHeight);
        painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop,
                         painter.fontMetrics().elidedText(name, Qt::ElideMiddle, int(rect.width())));
    }
};

} // namespace

PTGridPlaceholder::PTGridPlaceholder(QWidget* parent)
    : QWidget(parent)
    , grid_(new PTGridView(this))
    , bottomBar_(new PTWindowBottomBar(this))
{
    setAccessibleName(QStringLiteral("Icons"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(grid_, 1);
    layout->addWidget(bottomBar_);
    bottomBar_->setFixedHeight(33);
    grid_->setAccessibleName(QStringLiteral("Icon grid"));
    grid_->setDisplaySectionHeaders(false);
    grid_->setShouldAnimateLoadIn(false);
    grid_->installEventFilter(this);
    if (grid_->viewport())
        grid_->viewport()->installEventFilter(this);
    applyGridSize();
    connect(&pt::Defaults::standard(), &pt::Defaults::changed, this, [this](const QString& key) {
        if (key == GridSizeKey)
            applyGridSize();
    });
    updateAppearance();
    grid_->setDataSource(this);
}

PTGridPlaceholder::~PTGridPlaceholder()
{
    grid_->setDataSource(nullptr);
}

void PTGridPlaceholder::showSets(const QVector<PTCollection*>& sets)
{
    names_.clear();
    ids_.clear();
    for (PTCollection* set : sets) {
        for (PTItem* item : set->sortedItems()) {
            names_.append(item->name());
            ids_.append(item->objectID());
        }
    }
    grid_->reloadData(true);
}

bool PTGridPlaceholder::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && !painted_) {
        painted_ = true;
        // Announced once the paint under way has finished.
        QTimer::singleShot(0, this, &PTGridPlaceholder::firstPaint);
    }
    return QWidget::eventFilter(watched, event);
}

std::unique_ptr<PTGridViewCell> PTGridPlaceholder::cellForSection(PTGridView& grid, qint64)
{
    if (auto cell = grid.dequeueReusableCellWithIdentifier(HeaderIdentifier))
        return cell;
    return std::make_unique<PTGridViewCell>(HeaderIdentifier);
}

qint64 PTGridPlaceholder::numberOfItemsInSection(PTGridView&, qint64)
{
    return names_.size();
}

std::unique_ptr<PTGridViewCell> PTGridPlaceholder::cellForItemAtIndexPath(PTGridView& grid, const GridIndexPath& path)
{
    std::unique_ptr<PTGridViewCell> cell = grid.dequeueReusableCellWithIdentifier(ItemIdentifier);
    if (!cell)
        cell = std::make_unique<NameTileCell>();
    static_cast<NameTileCell*>(cell.get())->name = names_.value(path.index);
    return cell;
}

pt::store::ObjectID PTGridPlaceholder::itemForIndexPath(PTGridView&, const GridIndexPath& path)
{
    return ids_.value(path.index);
}

void PTGridPlaceholder::applyGridSize()
{
    // Stored as an integer here, as a float by the grid options.
    qint64 size = qRound64(pt::Defaults::standard().objectForKey(GridSizeKey).toDouble());
    if (size <= 0) {
        // A first run: the grid's default becomes the stored size, which the toolbar then shows.
        size = DefaultGridSize;
        pt::Defaults::standard().set(GridSizeKey, size);
    }
    grid_->setItemSize(QSizeF(size, size + 16));
}

void PTGridPlaceholder::updateAppearance()
{
    QPalette colours = grid_->palette();
    colours.setColor(QPalette::Base, PTStyles::gridBackgroundColor());
    colours.setColor(QPalette::Window, PTStyles::gridBackgroundColor());
    grid_->setPalette(colours);
    grid_->update();
}
