#pragma once

#include <QValidator>

// The hex field's formatter: at most six hex digits after an optional "#", shown in upper case.
class PTColourPickerHexFormatter : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
