// Exact decimal rounding and power-of-ten comparison of 80-bit reals.
// A 128-bit integer fast path for everyday magnitudes, a small big-integer fallback for the rest.
#include "base/decimaldigits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace velk::detail {

static_assert(std::numeric_limits<Real>::digits == 64, "Real must be the 80-bit extended format");

namespace {

using u128 = unsigned __int128;

constexpr std::uint64_t kPow10u64[20] = {
    1ull,
    10ull,
    100ull,
    1000ull,
    10000ull,
    100000ull,
    1000000ull,
    10000000ull,
    100000000ull,
    1000000000ull,
    10000000000ull,
    100000000000ull,
    1000000000000ull,
    10000000000000ull,
    100000000000000ull,
    1000000000000000ull,
    10000000000000000ull,
    100000000000000000ull,
    1000000000000000000ull,
    10000000000000000000ull,
};

// 5^27 < 2^63: every power here times a 64-bit mantissa fits in 127 bits.
constexpr int kMaxPow5 = 27;
constexpr std::uint64_t pow5(int k) {
  std::uint64_t v = 1;
  for (int i = 0; i < k; ++i) v *= 5;
  return v;
}

// 10^k for 0 <= k <= 27 is exact in the 64-bit mantissa (5^27 < 2^64).
constexpr int kMaxExactPow10 = 27;
constexpr Real exactPow10(int k) {
  Real v = 1;
  for (int i = 0; i < k; ++i) v *= 10;
  return v;
}
constexpr Real kPow10L[kMaxExactPow10 + 1] = {
    exactPow10(0),  exactPow10(1),  exactPow10(2),  exactPow10(3),  exactPow10(4),  exactPow10(5),  exactPow10(6),
    exactPow10(7),  exactPow10(8),  exactPow10(9),  exactPow10(10), exactPow10(11), exactPow10(12), exactPow10(13),
    exactPow10(14), exactPow10(15), exactPow10(16), exactPow10(17), exactPow10(18), exactPow10(19), exactPow10(20),
    exactPow10(21), exactPow10(22), exactPow10(23), exactPow10(24), exactPow10(25), exactPow10(26), exactPow10(27),
};

// |b| = m * 2^e with m holding all 64 mantissa bits (m >= 2^63 for b != 0).
struct Binary {
  std::uint64_t m;
  int e;
};
Binary decompose(Real b) {
  int ex = 0;
  const Real f = std::frexp(b, &ex);  // f in [0.5, 1)
  return {static_cast<std::uint64_t>(std::ldexp(f, 64)), ex - 64};
}

// Where the bits dropped by a right shift lay relative to half a unit of the result.
enum class Rest { exact, belowHalf, half, aboveHalf };

// Unsigned big integer, little-endian 32-bit words, no leading zero words.
class BigUint {
 public:
  explicit BigUint(std::uint64_t v) {
    while (v != 0) {
      w_.push_back(static_cast<std::uint32_t>(v));
      v >>= 32;
    }
  }

  void mulSmall(std::uint32_t f) {
    std::uint64_t carry = 0;
    for (auto& x : w_) {
      const std::uint64_t t = std::uint64_t{x} * f + carry;
      x = static_cast<std::uint32_t>(t);
      carry = t >> 32;
    }
    if (carry != 0) w_.push_back(static_cast<std::uint32_t>(carry));
  }

  void mulPow10(int k) {
    for (; k >= 9; k -= 9) mulSmall(1000000000u);
    if (k > 0) mulSmall(static_cast<std::uint32_t>(kPow10u64[k]));
  }

  void shiftLeft(int bits) {
    if (w_.empty() || bits <= 0) return;
    const int r = bits % 32;
    if (r != 0) {
      std::uint32_t carry = 0;
      for (auto& x : w_) {
        const std::uint32_t nx = (x << r) | carry;
        carry = x >> (32 - r);
        x = nx;
      }
      if (carry != 0) w_.push_back(carry);
    }
    w_.insert(w_.begin(), static_cast<std::size_t>(bits / 32), 0u);
  }

  Rest shiftRight(int bits) {
    if (bits <= 0) return Rest::exact;
    const bool halfBit = testBit(bits - 1);
    const bool lower = anyBitBelow(bits - 1);
    const std::size_t words = std::min(w_.size(), static_cast<std::size_t>(bits / 32));
    w_.erase(w_.begin(), w_.begin() + static_cast<std::ptrdiff_t>(words));
    const int r = bits % 32;
    if (r != 0) {
      for (std::size_t i = 0; i < w_.size(); ++i) {
        const std::uint32_t hi = i + 1 < w_.size() ? w_[i + 1] << (32 - r) : 0u;
        w_[i] = (w_[i] >> r) | hi;
      }
    }
    trim();
    if (!halfBit) return lower ? Rest::belowHalf : Rest::exact;
    return lower ? Rest::aboveHalf : Rest::half;
  }

  int compare(const BigUint& o) const {
    if (w_.size() != o.w_.size()) return w_.size() < o.w_.size() ? -1 : 1;
    for (std::size_t i = w_.size(); i-- > 0;) {
      if (w_[i] != o.w_[i]) return w_[i] < o.w_[i] ? -1 : 1;
    }
    return 0;
  }

  std::string toDecimal() const {
    if (w_.empty()) return "0";
    std::vector<std::uint32_t> n = w_;
    std::vector<std::uint32_t> chunks;  // base 10^9, least significant first
    while (!n.empty()) {
      std::uint64_t rem = 0;
      for (std::size_t i = n.size(); i-- > 0;) {
        const std::uint64_t cur = (rem << 32) | n[i];
        n[i] = static_cast<std::uint32_t>(cur / 1000000000u);
        rem = cur % 1000000000u;
      }
      chunks.push_back(static_cast<std::uint32_t>(rem));
      while (!n.empty() && n.back() == 0) n.pop_back();
    }
    std::string out = std::to_string(chunks.back());
    for (std::size_t i = chunks.size() - 1; i-- > 0;) {
      const std::string part = std::to_string(chunks[i]);
      out.append(9 - part.size(), '0');
      out += part;
    }
    return out;
  }

 private:
  bool testBit(int i) const {
    const auto word = static_cast<std::size_t>(i / 32);
    return word < w_.size() && ((w_[word] >> (i % 32)) & 1u) != 0;
  }
  bool anyBitBelow(int i) const {  // any of bits 0 .. i-1
    const auto word = static_cast<std::size_t>(i / 32);
    for (std::size_t k = 0; k < word && k < w_.size(); ++k) {
      if (w_[k] != 0) return true;
    }
    const int r = i % 32;
    return word < w_.size() && r != 0 && (w_[word] & ((1u << r) - 1u)) != 0;
  }
  void trim() {
    while (!w_.empty() && w_.back() == 0) w_.pop_back();
  }

  std::vector<std::uint32_t> w_;
};

void incrementDecimal(std::string& d) {
  for (std::size_t i = d.size(); i-- > 0;) {
    if (d[i] != '9') {
      ++d[i];
      return;
    }
    d[i] = '0';
  }
  d.insert(d.begin(), '1');
}

// Exact path for any finite b and s: the value m * 2^e * 10^s as a big integer.
std::string roundScaledSlow(Binary v, int s) {
  BigUint n(v.m);
  n.mulPow10(std::max(s, 0));
  Rest rest = Rest::exact;
  if (v.e >= 0) {
    n.shiftLeft(v.e);
  } else {
    rest = n.shiftRight(-v.e);
  }
  std::string d = n.toDecimal();
  if (s < 0) {  // drop -s integer digits, folding them into the rest
    const auto t = static_cast<std::size_t>(-s);
    if (d.size() < t + 1) d.insert(0, t + 1 - d.size(), '0');
    const std::string dropped = d.substr(d.size() - t);
    d.resize(d.size() - t);
    const bool lowerNonZero = rest != Rest::exact || dropped.find_first_not_of('0', 1) != std::string::npos;
    const char first = dropped[0];
    if (first > '5' || (first == '5' && lowerNonZero)) {
      rest = Rest::aboveHalf;
    } else if (first == '5') {
      rest = Rest::half;
    } else {
      rest = (first != '0' || lowerNonZero) ? Rest::belowHalf : Rest::exact;
    }
  }
  if (rest == Rest::aboveHalf || (rest == Rest::half && (d.back() - '0') % 2 == 1)) incrementDecimal(d);
  const std::size_t nz = d.find_first_not_of('0');
  return nz == std::string::npos ? std::string("0") : d.substr(nz);
}

}  // namespace

DecimalDigits roundScaled(Real b, int s) {
  DecimalDigits out;
  if (b == 0) {
    out.buf_[0] = '0';
    out.len_ = 1;
    return out;
  }
  const Binary v = decompose(b);
  if (s >= 0 && s <= 19) {
    const u128 p = static_cast<u128>(v.m) * kPow10u64[s];
    bool ok = false;
    u128 q = 0;
    if (v.e >= 0) {
      if (v.e < 64 && (p >> (64 - v.e)) == 0) {
        q = p << v.e;
        ok = true;
      }
    } else if (v.e > -128) {
      const int sh = -v.e;
      q = p >> sh;
      const u128 rem = p & ((static_cast<u128>(1) << sh) - 1);
      const u128 half = static_cast<u128>(1) << (sh - 1);
      if (rem > half || (rem == half && (q & 1) != 0)) ++q;
      ok = (q >> 64) == 0;
    } else {
      // p < 2^128 <= 2^sh: below one; exactly 2^127 at sh == 128 is a tie that goes to 0.
      q = (v.e == -128 && p > (static_cast<u128>(1) << 127)) ? 1 : 0;
      ok = true;
    }
    if (ok) {
      const auto r = std::to_chars(out.buf_, out.buf_ + sizeof out.buf_, static_cast<std::uint64_t>(q));
      out.len_ = static_cast<std::size_t>(r.ptr - out.buf_);
      return out;
    }
  }
  out.heap_ = roundScaledSlow(v, s);
  return out;
}

int compareWithPow10(Real b, int k) {
  if (k >= 0 && k <= kMaxExactPow10) {
    const Real p = kPow10L[k];
    return b < p ? -1 : (b > p ? 1 : 0);
  }
  const Binary v = decompose(b);
  if (k < 0 && k >= -kMaxPow5) {
    // b * 10^j = (m * 5^j) * 2^(e + j), compared with 1.
    const int j = -k;
    const u128 p = static_cast<u128>(v.m) * pow5(j);
    const int shift = v.e + j;
    if (shift >= 0) return 1;      // p >= 2^63
    if (-shift >= 127) return -1;  // p < 2^127
    const u128 one = static_cast<u128>(1) << -shift;
    return p < one ? -1 : (p > one ? 1 : 0);
  }
  BigUint lhs(v.m);
  BigUint rhs(1);
  if (k >= 0) {
    rhs.mulPow10(k);
  } else {
    lhs.mulPow10(-k);
  }
  if (v.e >= 0) {
    lhs.shiftLeft(v.e);
  } else {
    rhs.shiftLeft(-v.e);
  }
  return lhs.compare(rhs);
}

Real scalePow10(Real x, int k) {
  constexpr int kStep = 4000;  // 10^4000 and 10^-4000 are normal long doubles
  for (; k > kStep; k -= kStep) x *= std::pow(Real{10}, kStep);
  for (; k < -kStep; k += kStep) x /= std::pow(Real{10}, kStep);
  if (k >= 0) return k <= kMaxExactPow10 ? x * kPow10L[k] : x * std::pow(Real{10}, k);
  return -k <= kMaxExactPow10 ? x / kPow10L[-k] : x / std::pow(Real{10}, -k);
}

}  // namespace velk::detail
