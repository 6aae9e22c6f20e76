#pragma once

// Comparison of two maps key by key, as the thumbnail cache compares colour replacements.
namespace strictChecking {

// Same count, and every key of the first has an equal value in the second. Works for QMap and QHash.
template <typename Map>
bool areKeysAndValuesEqualToDictionary(const Map& dictionary, const Map& other)
{
    if (dictionary.size() != other.size())
        return false;
    for (auto it = dictionary.cbegin(); it != dictionary.cend(); ++it) {
        const auto found = other.constFind(it.key());
        if (found == other.cend() || !(found.value() == it.value()))
            return false;
    }
    return true;
}

} // namespace strictChecking
