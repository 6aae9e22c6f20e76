#pragma once

#include <QValidator>

// A component field's formatter: up to three digits; a number past a bound is replaced by that bound.
class PTColourPickerNumberFormatter : public QValidator {
    Q_OBJECT
public:
    explicit PTColourPickerNumberFormatter(int maxValue = 255, QObject* parent = nullptr);
    int minValue() const { return m_minValue; }
    int maxValue() const { return m_maxValue; }
    State validate(QString& input, int& pos) const override;

private:
    int m_minValue = 0;
    int m_maxValue = 255;
};
