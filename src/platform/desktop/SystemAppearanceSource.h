#pragma once

#include <QObject>

namespace pt {

// Where the desktop's light or dark preference comes from. start() asks once, asynchronously; every answer, the
// first included, arrives as appearanceChanged().
class SystemAppearanceSource : public QObject {
    Q_OBJECT
public:
    // The values the theme uses: 0 dark, 1 light.
    enum Appearance { Dark = 0, Light = 1 };

    using QObject::QObject;
    virtual void start() = 0;

Q_SIGNALS:
    void appearanceChanged(int appearance);
};

} // namespace pt
