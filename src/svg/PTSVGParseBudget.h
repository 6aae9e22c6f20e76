#pragma once

#include <QtGlobal>

// Work limits one document shares with its nested documents, so that references that multiply (a use of a
// group of uses of ...) end with dropped references instead of a hang.
struct PTSVGParseBudget {
    static constexpr int MaximumReferenceDepth = 32;
    static constexpr qint64 MaximumReferencedNodes = 100'000;
    static constexpr qint64 MaximumNodes = 1'000'000;

    qint64 nodes = 0;
    qint64 referencedNodes = 0;

    bool referencesExhausted() const { return referencedNodes >= MaximumReferencedNodes || nodes >= MaximumNodes; }
};
