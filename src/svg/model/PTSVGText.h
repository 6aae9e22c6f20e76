#pragma once

#include "svg/model/PTSVGGroup.h"

// A text element with its characters. The parser reads text as groups and does not make these; code that
// builds trees of its own may.
class PTSVGText : public PTSVGGroup {
public:
    std::shared_ptr<PTSVGNode> clone() const override;

    const QString& text() const { return text_; }
    void setText(const QString& text) { text_ = text; }

private:
    QString text_;
};
