#include "DemoGridSource.h"

#include "browser/grid/PTGridView.h"
#include "browser/grid/PTGridViewCell.h"
#include "browser/grid/PTGridViewCellLabel.h"
#include "ui/theme/PTStyles.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QString ItemIdentifier = QStringLiteral("imageItem");
const QString SectionIdentifier = QStringLiteral("sectionItem");
const QColor SelectionColor(10, 132, 255);

class DemoItemCell : public PTGridViewCell {
public:
    explicit DemoItemCell(const DemoGridSource& source)
        : PTGridViewCell(ItemIdentifier)
        , source_(source)
    {
        QFont font;
        font.setPixelSize(10);
        label_.setFont(font);
    }

    void drawCellInRect(QPainter& painter, const QRectF& rect) override
    {
        label_.setString(DemoGridSource::nameOf(gridIndex()));
        const QSizeF text = label_.proposedSize();
        const qreal side = std::max<qreal>(8, std::min(rect.width(), rect.height() - text.height() - 2) - 8);
        const QRectF square(rect.center().x() - side / 2, 4, side, side);
        const QColor fill = source_.isLoaded(gridIndex())
            ? QColor::fromHsv(static_cast<int>((gridIndex() * 37) % 360), 160, 220)
            : QColor(200, 200, 200);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(square, 4, 4);
        if (highlighted()) {
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(SelectionColor, 2));
            painter.drawRoundedRect(rect.adjusted(1, 1, -1, -1), 5, 5);
        }
        painter.setFont(label_.font());
        painter.setPen(drawState().appearance == 0 ? Qt::white : Qt::black);
        painter.drawText(QRectF(rect.left(), rect.bottom() - text.height() - 1, rect.width(), text.height()),
                         Qt::AlignHCenter, label_.string());
    }

private:
    const DemoGridSource& source_;
    PTGridViewCellLabel label_;
};

class DemoHeaderCell : public PTGridViewCell {
public:
    DemoHeaderCell()
        : PTGridViewCell(SectionIdentifier)
    {
    }
    void drawCellInRect(QPainter& painter, const QRectF& rect) override
    {
        painter.fillRect(rect, PTStyles::sectionHeaderColorForAppearance(static_cast<int>(drawState().appearance)));
        painter.fillRect(QRectF(rect.left(), rect.bottom() - 1, rect.width(), 1), QColor(128, 128, 128, 90));
        QFont font;
        font.setPixelSize(13);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(drawState().appearance == 0 ? Qt::white : Qt::black);
        painter.drawText(rect.adjusted(12, 0, -12, 0), Qt::AlignVCenter | Qt::AlignLeft,
                         QStringLiteral("Set %1").arg(section() + 1));
    }
};

} // namespace

DemoGridSource::DemoGridSource(qint64 items)
{
    qint64 left = items;
    for (qint64 section = 0; left > 0; ++section) {
        const qint64 count = std::min<qint64>(left, 200 + (section * 977) % 2800);
        sections_.push_back(count);
        left -= count;
    }
    loaded_.assign(static_cast<size_t>(items), false);
}

qint64 DemoGridSource::numberOfSections(PTGridView&)
{
    return static_cast<qint64>(sections_.size());
}

qint64 DemoGridSource::numberOfItemsInSection(PTGridView&, qint64 section)
{
    return sections_[static_cast<size_t>(section)];
}

std::unique_ptr<PTGridViewCell> DemoGridSource::cellForSection(PTGridView& grid, qint64)
{
    if (auto cell = grid.dequeueReusableCellWithIdentifier(SectionIdentifier))
        return cell;
    return std::make_unique<DemoHeaderCell>();
}

std::unique_ptr<PTGridViewCell> DemoGridSource::cellForItemAtIndexPath(PTGridView& grid, const GridIndexPath&)
{
    if (auto cell = grid.dequeueReusableCellWithIdentifier(ItemIdentifier))
        return cell;
    return std::make_unique<DemoItemCell>(*this);
}

pt::store::ObjectID DemoGridSource::itemForIndexPath(PTGridView& grid, const GridIndexPath& path)
{
    return pt::store::ObjectID::permanent(nullptr, grid.geometry().indexForIndexPath(path) + 1, {});
}

QString DemoGridSource::tooltipForItemAtIndexPath(PTGridView& grid, const GridIndexPath& path)
{
    return nameOf(grid.geometry().indexForIndexPath(path));
}

void DemoGridSource::deliverThumbnails(PTGridView& grid, qint64 first, qint64 count)
{
    QVector<GridIndexPath> shown;
    for (qint64 i = std::max<qint64>(first, 0); i < std::min(first + count, itemCount()); ++i) {
        if (loaded_[static_cast<size_t>(i)])
            continue;
        loaded_[static_cast<size_t>(i)] = true;
        const GridIndexPath path = grid.geometry().indexPathForIndex(i);
        if (grid.cellForIndexPath(path))
            shown.push_back(path);
    }
    if (!shown.isEmpty())
        grid.reloadItemsAtIndexPaths(shown);
}

QString DemoGridSource::nameOf(qint64 gridIndex)
{
    return QStringLiteral("icon-%1").arg(gridIndex + 1);
}
