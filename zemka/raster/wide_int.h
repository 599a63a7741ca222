// 128-bit integers for compilers without a built-in type (32-bit targets,
// other compilers): two's complement in two 64-bit halves, with the
// operators and conversions of the built-in type, wrapping like it on
// overflow, and division truncating toward zero.
#pragma once

#include <cstdint>
#include <type_traits>

namespace zemka::wide {

template <bool Signed>
class Int128 {
public:
    using u64 = std::uint64_t;
    u64 lo = 0;
    u64 hi = 0;

    constexpr Int128() = default;
    template <class T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
    constexpr Int128(T v)  // NOLINT: converts like the built-in type
        : lo(static_cast<u64>(v)), hi(std::is_signed_v<T> && v < 0 ? ~u64{0} : 0) {}
    template <bool S>
    constexpr explicit Int128(Int128<S> v) : lo(v.lo), hi(v.hi) {}
    constexpr explicit Int128(long double v) {
        const bool negative = v < 0;
        long double m = negative ? -v : v;
        constexpr long double two64 = 18446744073709551616.0L;
        hi = static_cast<u64>(m / two64);
        lo = static_cast<u64>(m - static_cast<long double>(hi) * two64);
        if (negative) *this = -*this;
    }
    constexpr explicit Int128(double v) : Int128(static_cast<long double>(v)) {}

    template <class T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
    constexpr explicit operator T() const {
        return static_cast<T>(lo);
    }
    constexpr explicit operator bool() const { return lo != 0 || hi != 0; }
    constexpr explicit operator long double() const {
        constexpr long double two64 = 18446744073709551616.0L;
        if (negative()) {
            const Int128 m = -*this;
            return -(static_cast<long double>(m.hi) * two64 + static_cast<long double>(m.lo));
        }
        return static_cast<long double>(hi) * two64 + static_cast<long double>(lo);
    }
    constexpr explicit operator double() const { return static_cast<double>(static_cast<long double>(*this)); }

    constexpr bool negative() const { return Signed && (hi >> 63) != 0; }

    friend constexpr Int128 operator-(Int128 a) {
        Int128 r;
        r.lo = ~a.lo + 1;
        r.hi = ~a.hi + (r.lo == 0 ? 1 : 0);
        return r;
    }
    friend constexpr Int128 operator~(Int128 a) {
        Int128 r;
        r.lo = ~a.lo;
        r.hi = ~a.hi;
        return r;
    }
    friend constexpr Int128 operator+(Int128 a, Int128 b) {
        Int128 r;
        r.lo = a.lo + b.lo;
        r.hi = a.hi + b.hi + (r.lo < a.lo ? 1 : 0);
        return r;
    }
    friend constexpr Int128 operator-(Int128 a, Int128 b) { return a + -b; }
    friend constexpr Int128 operator*(Int128 a, Int128 b) {
        Int128 r = mul64(a.lo, b.lo);
        r.hi += a.lo * b.hi + a.hi * b.lo;
        return r;
    }
    friend constexpr Int128 operator/(Int128 a, Int128 b) {
        Int128 q, r;
        divide(a, b, q, r);
        return q;
    }
    friend constexpr Int128 operator%(Int128 a, Int128 b) {
        Int128 q, r;
        divide(a, b, q, r);
        return r;
    }
    friend constexpr Int128 operator&(Int128 a, Int128 b) {
        Int128 r;
        r.lo = a.lo & b.lo;
        r.hi = a.hi & b.hi;
        return r;
    }
    friend constexpr Int128 operator|(Int128 a, Int128 b) {
        Int128 r;
        r.lo = a.lo | b.lo;
        r.hi = a.hi | b.hi;
        return r;
    }
    friend constexpr Int128 operator<<(Int128 a, int n) {
        n &= 127;
        if (n == 0) return a;
        Int128 r;
        if (n >= 64) {
            r.hi = a.lo << (n - 64);
        } else {
            r.hi = (a.hi << n) | (a.lo >> (64 - n));
            r.lo = a.lo << n;
        }
        return r;
    }
    friend constexpr Int128 operator>>(Int128 a, int n) {
        n &= 127;
        if (n == 0) return a;
        const u64 fill = a.negative() ? ~u64{0} : 0;
        Int128 r;
        if (n >= 64) {
            r.lo = n == 64 ? a.hi
                           : (a.negative() ? static_cast<u64>(static_cast<std::int64_t>(a.hi) >> (n - 64))
                                           : a.hi >> (n - 64));
            r.hi = fill;
        } else {
            r.lo = (a.lo >> n) | (a.hi << (64 - n));
            r.hi = a.negative() ? static_cast<u64>(static_cast<std::int64_t>(a.hi) >> n) : a.hi >> n;
        }
        return r;
    }
    friend constexpr bool operator==(Int128 a, Int128 b) { return a.lo == b.lo && a.hi == b.hi; }
    friend constexpr bool operator!=(Int128 a, Int128 b) { return !(a == b); }
    friend constexpr bool operator<(Int128 a, Int128 b) {
        if (a.hi != b.hi) {
            if (Signed) return static_cast<std::int64_t>(a.hi) < static_cast<std::int64_t>(b.hi);
            return a.hi < b.hi;
        }
        return a.lo < b.lo;
    }
    friend constexpr bool operator>(Int128 a, Int128 b) { return b < a; }
    friend constexpr bool operator<=(Int128 a, Int128 b) { return !(b < a); }
    friend constexpr bool operator>=(Int128 a, Int128 b) { return !(a < b); }

    constexpr Int128 &operator+=(Int128 b) { return *this = *this + b; }
    constexpr Int128 &operator-=(Int128 b) { return *this = *this - b; }
    constexpr Int128 &operator*=(Int128 b) { return *this = *this * b; }
    constexpr Int128 &operator/=(Int128 b) { return *this = *this / b; }
    constexpr Int128 &operator%=(Int128 b) { return *this = *this % b; }
    constexpr Int128 &operator<<=(int n) { return *this = *this << n; }
    constexpr Int128 &operator>>=(int n) { return *this = *this >> n; }
    constexpr Int128 &operator++() { return *this += 1; }
    constexpr Int128 &operator--() { return *this -= 1; }
    constexpr Int128 operator++(int) {
        const Int128 old = *this;
        *this += 1;
        return old;
    }
    constexpr Int128 operator--(int) {
        const Int128 old = *this;
        *this -= 1;
        return old;
    }

private:
    // The full product of two 64-bit values.
    static constexpr Int128 mul64(u64 a, u64 b) {
        const u64 a0 = a & 0xffffffffu, a1 = a >> 32, b0 = b & 0xffffffffu, b1 = b >> 32;
        const u64 p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
        const u64 middle = (p00 >> 32) + (p01 & 0xffffffffu) + (p10 & 0xffffffffu);
        Int128 r;
        r.lo = (middle << 32) | (p00 & 0xffffffffu);
        r.hi = p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32);
        return r;
    }
    // Unsigned division of the magnitudes; quotient toward zero, remainder
    // with the dividend's sign. A zero divisor gives 0 and 0.
    static constexpr void divide(Int128 a, Int128 b, Int128 &q, Int128 &r) {
        const bool na = a.negative(), nb = b.negative();
        Int128<false> n(na ? -a : a), d(nb ? -b : b);
        Int128<false> quotient, remainder;
        if (d == Int128<false>(0)) {
            q = Int128();
            r = Int128();
            return;
        }
        if (n.hi == 0 && d.hi == 0) {
            quotient.lo = n.lo / d.lo;
            remainder.lo = n.lo % d.lo;
        } else {
            for (int bit = 127; bit >= 0; --bit) {
                remainder = remainder << 1;
                remainder.lo |= ((n >> bit).lo & 1);
                if (remainder >= d) {
                    remainder = remainder - d;
                    if (bit >= 64)
                        quotient.hi |= u64{1} << (bit - 64);
                    else
                        quotient.lo |= u64{1} << bit;
                }
            }
        }
        q = Int128(quotient);
        r = Int128(remainder);
        if (na != nb) q = -q;
        if (na) r = -r;
    }
};

// Arithmetic and comparisons with built-in integers convert them first,
// as the built-in type's usual conversions do.
#define ZEMKA_WIDE_MIXED(op)                                                     \
    template <bool S, class T, std::enable_if_t<std::is_integral_v<T>, int> = 0> \
    constexpr auto operator op(Int128<S> a, T b) {                               \
        return a op Int128<S>(b);                                                \
    }                                                                            \
    template <bool S, class T, std::enable_if_t<std::is_integral_v<T>, int> = 0> \
    constexpr auto operator op(T a, Int128<S> b) {                               \
        return Int128<S>(a) op b;                                                \
    }
ZEMKA_WIDE_MIXED(+)
ZEMKA_WIDE_MIXED(-)
ZEMKA_WIDE_MIXED(*)
ZEMKA_WIDE_MIXED(/)
ZEMKA_WIDE_MIXED(%)
ZEMKA_WIDE_MIXED(&)
ZEMKA_WIDE_MIXED(|)
ZEMKA_WIDE_MIXED(==)
ZEMKA_WIDE_MIXED(!=)
ZEMKA_WIDE_MIXED(<)
ZEMKA_WIDE_MIXED(>)
ZEMKA_WIDE_MIXED(<=)
ZEMKA_WIDE_MIXED(>=)
#undef ZEMKA_WIDE_MIXED

}  // namespace zemka::wide
