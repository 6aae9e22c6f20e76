#pragma once

#include <QList>
#include <QVariant>

#include <algorithm>

// Questions about a whole list, shared by the controllers and inspectors.
namespace arrayAdditions {

// Whether the block maps every element to one and the same value; an invalid QVariant stands for "no value".
// All without a value is true (so is an empty list), one value throughout is true, a mix or two values false.
template <typename T, typename Block>
bool objectsAreUniqueWithBlock(const QList<T>& array, Block block)
{
    bool sawNone = false;
    QVariant first;
    for (const T& element : array) {
        const QVariant value = block(element);
        if (!value.isValid()) {
            if (first.isValid())
                return false;
            sawNone = true;
            continue;
        }
        if (sawNone || (first.isValid() && value != first))
            return false;
        if (!first.isValid())
            first = value;
    }
    return true;
}

// No element occurs twice (elements need operator<).
template <typename T>
bool containsUniqueObjects(const QList<T>& array)
{
    QList<T> sorted = array;
    std::sort(sorted.begin(), sorted.end());
    return std::adjacent_find(sorted.cbegin(), sorted.cend()) == sorted.cend();
}

// The same elements in any order, duplicates counted.
template <typename T>
bool hasSameObjectsAsArray(const QList<T>& array, const QList<T>& other)
{
    if (array.size() != other.size())
        return false;
    QList<T> a = array;
    QList<T> b = other;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
}

// The elements that are (or are not) in the other list, in this list's order, duplicates kept.
template <typename T>
QList<T> itemsPresentInArray(const QList<T>& array, const QList<T>& other)
{
    QList<T> result;
    std::copy_if(array.cbegin(), array.cend(), std::back_inserter(result), [&](const T& e) { return other.contains(e); });
    return result;
}

template <typename T>
QList<T> itemsNotPresentInArray(const QList<T>& array, const QList<T>& other)
{
    QList<T> result;
    std::copy_if(array.cbegin(), array.cend(), std::back_inserter(result), [&](const T& e) { return !other.contains(e); });
    return result;
}

// Every element is a Class (true for an empty list).
template <typename Class, typename T>
bool objectsAreKindOfClass(const QList<T*>& array)
{
    return std::all_of(array.cbegin(), array.cend(), [](const T* e) { return dynamic_cast<const Class*>(e) != nullptr; });
}

} // namespace arrayAdditions
