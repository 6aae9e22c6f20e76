#pragma once

#include "sidebar/inspector/PTSideBarTokenField.h"

// The tags field that readies itself when the user moves into it: it tells its listeners where its editing area
// lies and puts the caret after the last tag. The editing area keeps the field's width and grows downwards with
// the tags, as the field itself does.
class PTTagTokenField : public PTSideBarTokenField {
    Q_OBJECT
public:
    using PTSideBarTokenField::PTSideBarTokenField;

    // The area the tags and the typed text take, inside the field's margins, in the field's coordinates.
    QRect editorFrame() const;

signals:
    // Editing begins, with the editing area as it is then; sent before the caret moves.
    void didGetInitialFrame(PTTagTokenField* field, const QRect& editorFrame);

protected:
    void focusInEvent(QFocusEvent* event) override;
};
