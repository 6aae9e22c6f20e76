#pragma once

#include <QHash>
#include <QString>

#include <memory>

class PTSVGNode;

// The definitions registered under one node, by id; a later node with the same id replaces the earlier one.
class PTSVGDef {
public:
    // Nodes without an id are not stored.
    void addDef(const std::shared_ptr<PTSVGNode>& node);
    std::shared_ptr<PTSVGNode> defForID(const QString& identifier) const;

private:
    QHash<QString, std::shared_ptr<PTSVGNode>> nodes_;
};
