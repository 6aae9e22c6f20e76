#include "app/PTSetListPlaceholder.h"

#include "library/controllers/PTCollectionController.h"
#include "library/entities/PTCollection.h"
#include "ui/theme/PTStyles.h"

PTSetListPlaceholder::PTSetListPlaceholder(QWidget* parent)
    : QListWidget(parent)
{
    setAccessibleName(QStringLiteral("Sets"));
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] { emit setsSelected(selectedSets()); });
    changes_ = pt::NotificationCenter::defaultCenter().addObserver(
        PTCollectionController::CollectionsDidChangeNotification, nullptr,
        [this](const pt::Notification&) { reload(); }, pt::NotificationCenter::Delivery::MainQueue);
    updateAppearance();
    reload();
}

void PTSetListPlaceholder::reload()
{
    const QVector<PTCollection*> previous = selectedSets();
    clear();
    sets_ = PTCollectionController::sharedController().collectionsSortedByGroup();
    for (PTCollection* set : sets_) {
        auto* row = new QListWidgetItem(set->name(), this);
        row->setSelected(previous.contains(set));
    }
    if (selectedItems().isEmpty() && count() > 0)
        item(0)->setSelected(true);
}

QVector<PTCollection*> PTSetListPlaceholder::selectedSets() const
{
    QVector<PTCollection*> selected;
    for (int row = 0; row < count(); ++row) {
        if (item(row)->isSelected() && row < sets_.size())
            selected.append(sets_.at(row));
    }
    return selected;
}

void PTSetListPlaceholder::updateAppearance()
{
    QPalette colours = palette();
    colours.setColor(QPalette::Base, PTStyles::sidebarBackgroundColor());
    setPalette(colours);
}
