#pragma once

#include "ui/controls/PTSheetFieldLook.h"
#include "ui/theme/PTAppearanceObserver.h"

#include <QTextEdit>

// The sheet's text field for plain text that wraps: no scroll bars, and a height that fits the text at the
// field's width (document height + chrome + 7). It refits when the text changes or the width does; a height
// set at the same width stays until then. Stack views follow it through frameChanged().
class PTSheetAutoExpandingTextField : public QTextEdit {
    Q_OBJECT
public:
    explicit PTSheetAutoExpandingTextField(QWidget* parent = nullptr);

    PTSheetFieldLook& fieldLook() { return look_; }
    // Fits the height to the text at the current width.
    void updateHeight();

signals:
    void frameChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateAppearance();
    void applyTextMargins();

    PTSheetFieldLook look_;
    int fittedWidth_ = -1;
    PTAppearanceObserver appearanceObserver_{this, &PTSheetAutoExpandingTextField::updateAppearance};
};
