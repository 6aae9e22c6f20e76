#pragma once

#include <QList>

// Changes to a list in place.
namespace mutableArrayAdditions {

// Moves the (first equal) element to the index, counted in the list after its removal: in [a, b, c, d], a to 2
// gives [b, c, a, d]. The element must be in the list and the index at most its size less one.
template <typename T>
void moveObject(QList<T>& array, const T& object, qsizetype index)
{
    const qsizetype from = array.indexOf(object);
    Q_ASSERT(from >= 0 && index >= 0 && index < array.size());
    T kept = array.takeAt(from);
    array.insert(index, std::move(kept));
}

// Appends each element of the other list that this one does not hold yet, in order.
template <typename T>
void addObjectsFromArrayUniquely(QList<T>& array, const QList<T>& other)
{
    for (const T& element : other) {
        if (!array.contains(element))
            array.append(element);
    }
}

} // namespace mutableArrayAdditions
