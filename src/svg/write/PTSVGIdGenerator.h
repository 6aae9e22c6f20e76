#pragma once

#include <QString>

// Short element ids: "a" to "z", "A" to "Z", then "a1" to "Z1", "a2" and so on. Unique per generator.
class PTSVGIdGenerator {
public:
    QString generateID();

private:
    qint64 counter_ = 0;
    qint64 cycle_ = 0;
};
