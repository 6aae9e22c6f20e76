#pragma once

#include <QObject>

namespace pt {

// Where the desktop's wish for less transparency comes from. start() asks once, asynchronously; every answer, the
// first included, arrives as reduceTransparencyChanged().
class ReduceTransparencySource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void start() = 0;

Q_SIGNALS:
    void reduceTransparencyChanged(bool reduce);
};

} // namespace pt
