#pragma once

#include "svg/model/PTSVGNode.h"

// A foreignObject element and the extension it requires. The parser does not make these; code that builds
// trees of its own may.
class PTSVGForeignObject : public PTSVGNode {
public:
    std::shared_ptr<PTSVGNode> clone() const override;

    const QString& requiredExtension() const { return requiredExtension_; }
    void setRequiredExtension(const QString& extension) { requiredExtension_ = extension; }

private:
    QString requiredExtension_;
};
