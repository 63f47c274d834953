#pragma once
// The values a format page keeps for one edited object (a model, an axis,
// a light, the control itself): each field as it was read and as the user
// left it. Only fields whose two values differ are written back, so an
// untouched field never changes the object, however its value was shown.

#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

namespace halvex {

// Checks, choices, list indices and packed colours are whole numbers;
// numbers are doubles (a float's value for single-precision properties);
// text fields use text. A check of mixed state holds 2.
struct FieldValue {
    double number = 0.0;
    std::string text;

    FieldValue() = default;
    FieldValue(double n) : number(n) {}
    FieldValue(std::string t) : text(std::move(t)) {}

    // NaN equals NaN here: a value that reads as NaN is unchanged until
    // the user types another.
    friend bool operator==(const FieldValue& a, const FieldValue& b)
    {
        bool sameNumber = a.number == b.number || (std::isnan(a.number) && std::isnan(b.number));
        return sameNumber && a.text == b.text;
    }
};

using FieldValues = std::vector<FieldValue>;

struct FieldRecord {
    FieldValues read;
    FieldValues now;

    FieldRecord() = default;
    explicit FieldRecord(FieldValues values) : read(values), now(std::move(values)) {}

    bool changed(std::size_t slot) const { return !(now[slot] == read[slot]); }
    bool anyChanged() const { return !(now == read); }
};

} // namespace halvex
