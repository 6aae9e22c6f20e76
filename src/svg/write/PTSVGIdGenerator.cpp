#include "svg/write/PTSVGIdGenerator.h"

namespace {

constexpr char16_t letters[] = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr qint64 letterCount = 52;

} // namespace

QString PTSVGIdGenerator::generateID()
{
    const qint64 index = counter_ % letterCount;
    if (counter_ > 0 && index == 0)
        ++cycle_;
    ++counter_;
    QString id(QChar(letters[index]));
    if (cycle_ > 0)
        id += QString::number(cycle_);
    return id;
}
