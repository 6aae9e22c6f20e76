#pragma once

#include <QString>
#include <QStringList>

// One compound selector (tag, #id, .classes) and how it relates to the compound on its left.
struct PTSVGStyleSheetSelectorRaw {
    enum Combinator { Descendant = 0, Child = 1, GeneralSibling = 2, AdjacentSibling = 3 };

    QString tag;
    QString identifier;
    QStringList classes;
    Combinator combinator = Descendant;

    bool isEmpty() const { return tag.isEmpty() && identifier.isEmpty() && classes.isEmpty(); }
    void addClassName(const QString& name) { classes.append(name); }
};
