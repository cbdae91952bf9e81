// Exact decimal arithmetic on 80-bit reals for the number formatters (private to src/data).
// Rounding works on the exact binary value, so results match printf and never depend on the locale.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/numfmt.h"

namespace velk::detail {

// Decimal digits of an integer, no leading zeros ("0" for zero). Short results live in
// the inline buffer, so the common case allocates nothing.
class DecimalDigits {
 public:
  std::string_view view() const { return heap_.empty() ? std::string_view(buf_, len_) : heap_; }
  bool isZero() const { return view() == "0"; }

 private:
  friend DecimalDigits roundScaled(Real b, int s);
  char buf_[40];
  std::size_t len_ = 0;
  std::string heap_;
};

// round-half-even(b * 10^s) for a finite b >= 0 and any s (negative s rounds to tens,
// hundreds, ...). Exact for every long double: a 128-bit fast path covers everyday values,
// a big-integer path everything else.
DecimalDigits roundScaled(Real b, int s);

// Sign of (b - 10^k), exact, for a finite b > 0.
int compareWithPow10(Real b, int k);

// x * 10^k, correctly rounded for |k| <= 27 (exact powers; negative k divides), and
// without intermediate overflow for larger |k| as long as the result is in range.
Real scalePow10(Real x, int k);

}  // namespace velk::detail
