#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// An SVG length or opacity: a plain number, or a percentage stored as a fraction (50% is 0.5).
class PTSVGUnitLength {
public:
    enum Type { Number = 0, Percentage = 1 };

    PTSVGUnitLength() = default;
    PTSVGUnitLength(double value, Type type = Number) : value_(value), type_(type) {}

    static PTSVGUnitLength unitWithPercentageFloat(double fraction) { return {fraction, Percentage}; }
    // The leading number (single precision, units such as "px" ignored); a trailing "%" makes it a percentage.
    // "inherit" is no length at all.
    static std::optional<PTSVGUnitLength> unitWithString(QStringView text);
    // As unitWithString, then typed as a percentage without dividing: "0.5" and "50%" both give 0.5.
    static std::optional<PTSVGUnitLength> unitWithPercentageString(QStringView text);

    double value() const { return value_; }
    Type type() const { return type_; }
    // Set on node defaults that stand for "take the parent's value"; the parser never sets it.
    bool inherit() const { return inherit_; }
    void setInherit(bool inherit) { inherit_ = inherit; }

    // The length against a reference: a percentage is that fraction of it, a number is itself.
    double computeValue(double reference) const;
    // The value divided by 100, whatever the type.
    double valueAsPercentage() const { return value_ / 100.0; }
    // "50%" for a percentage, the number otherwise.
    QString stringValue() const;

    friend bool operator==(const PTSVGUnitLength&, const PTSVGUnitLength&) = default;

private:
    double value_ = 0;
    Type type_ = Number;
    bool inherit_ = false;
};
