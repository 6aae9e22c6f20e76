#pragma once

#include "library/entities/PTCollection.h"
#include "platform/runtime/NotificationCenter.h"
#include "ui/theme/PTAppearanceObserver.h"

#include <QListWidget>
#include <QVector>

// Stands in for the source list until the sidebar exists: the library's sets by group, one a row; the selected
// ones feed the grid.
class PTSetListPlaceholder : public QListWidget {
    Q_OBJECT
public:
    explicit PTSetListPlaceholder(QWidget* parent = nullptr);
    void reload();
    QVector<PTCollection*> selectedSets() const;

signals:
    void setsSelected(const QVector<PTCollection*>& sets);

private:
    void updateAppearance();

    QVector<PTCollection*> sets_;
    pt::ObserverToken changes_;
    PTAppearanceObserver appearanceObserver_{this, &PTSetListPlaceholder::updateAppearance};
};
