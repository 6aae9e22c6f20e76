#include "app/PTGridColumn.h"

#include "app/PTWindowBottomBar.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QVBoxLayout>

PTGridColumn::PTGridColumn(QWidget* container, QWidget* parent)
    : QWidget(parent)
    , bottomBar_(new PTWindowBottomBar(this))
    , container_(container)
{
    setAccessibleName(QStringLiteral("Icons"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(container, 1);
    layout->addWidget(bottomBar_);
    bottomBar_->setFixedHeight(33);
    // Whichever view the controller shows paints first; watched until then.
    qApp->installEventFilter(this);
}

bool PTGridColumn::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::Paint && !painted_ && widget && container_->isAncestorOf(widget)) {
        painted_ = true;
        qApp->removeEventFilter(this);
        // Announced once the paint under way has finished.
        QTimer::singleShot(0, this, &PTGridColumn::firstPaint);
    }
    return QWidget::eventFilter(watched, event);
}
