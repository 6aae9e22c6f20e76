#include "ui/controls/PTGotoSegmentedControl.h"

#include <QDesktopServices>
#include <QUrl>

PTGotoSegmentedControl::PTGotoSegmentedControl(QWidget* parent) : PTSegmentedControl(parent)
{
    connect(this, &PTToolbarSegmentedControl::action, this, &PTGotoSegmentedControl::openURL);
}

void PTGotoSegmentedControl::openURL()
{
    if (url_.isEmpty())
        return;
    const QUrl url(url_, QUrl::StrictMode);
    if (url.isValid() && !url.scheme().isEmpty())
        QDesktopServices::openUrl(url);
}
