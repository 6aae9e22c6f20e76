#pragma once

#include <QImage>
#include <QString>
#include <QUuid>

// One desktop notification as the rest of the program describes it.
struct PTNotification {
    QString title;
    QString subtitle;
    QString message;
    // A new one for every notification.
    QString identifier = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QImage image;
};
