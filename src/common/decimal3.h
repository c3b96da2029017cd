#pragma once

#include <QString>
#include <QtGlobal>

#include <compare>

// A decimal quantity with three decimals (kilometres, litres, masses) held exactly as a whole
// number of thousandths, the way NUMERIC(15,3) columns store it, so that adding and storing
// never meets a binary fraction.
struct Decimal3 {
    qint64 thousandths = 0;

    static constexpr qint64 kScale = 1000;

    static constexpr Decimal3 fromWhole(qint64 whole) { return Decimal3{whole * kScale}; }

    // A typed or shown number text ("12,5", "1.234,5"), read with the common decimal parser
    // and rounded to the nearest thousandth; unreadable text is 0.
    static Decimal3 fromText(const QString& text);

    // Plain number text with the decimal comma and no grouping or trailing zeros ("1234,5",
    // "-0,25", "0"), as the number display functions take it.
    QString toText() const;

    bool isZero() const { return thousandths == 0; }
    // The whole part, cut toward zero.
    qint64 wholePart() const { return thousandths / kScale; }
    bool isWhole() const { return thousandths % kScale == 0; }

    friend constexpr Decimal3 operator+(Decimal3 a, Decimal3 b) { return Decimal3{a.thousandths + b.thousandths}; }
    friend constexpr Decimal3 operator-(Decimal3 a, Decimal3 b) { return Decimal3{a.thousandths - b.thousandths}; }
    constexpr Decimal3& operator+=(Decimal3 other)
    {
        thousandths += other.thousandths;
        return *this;
    }
    friend constexpr auto operator<=>(Decimal3, Decimal3) = default;
};
