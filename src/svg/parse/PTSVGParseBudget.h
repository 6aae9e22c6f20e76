#pragma once

#include <QtGlobal>

#include <vector>

class PTSVGXmlNode;

// Work limits one document shares with its nested documents, so that references that loop (also through a
// nested svg that uses its own document) or multiply (a use of a group of uses of ...) end with dropped
// references instead of a stack overflow or a hang.
struct PTSVGParseBudget {
    static constexpr int MaximumReferenceDepth = 32;
    static constexpr qint64 MaximumReferencedNodes = 100'000;
    static constexpr qint64 MaximumNodes = 1'000'000;

    qint64 nodes = 0;
    qint64 referencedNodes = 0;
    // The elements whose references are being followed, outermost first.
    std::vector<const PTSVGXmlNode*> referenceStack;

    bool referencesExhausted() const { return referencedNodes >= MaximumReferencedNodes || nodes >= MaximumNodes; }
};
