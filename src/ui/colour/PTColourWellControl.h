#pragma once

#include "ui/colour/PTColourPickerControl.h"

// The colour picker control drawn as a colour well: its cell paints the colour over the segment, inset.
class PTColourWellControl : public PTColourPickerControl {
    Q_OBJECT
public:
    explicit PTColourWellControl(QWidget* parent = nullptr);

    qreal colorInset() const { return m_colorInset; }
    void setColorInset(qreal inset);
    // Whether the well sits in a toolbar, where its cell widens to the toolbar's button frame.
    bool isInToolbar() const;

protected:
    std::unique_ptr<PTToolbarSegmentedControlCell> makeCell() const override;

private:
    qreal m_colorInset = 3.0;
};
