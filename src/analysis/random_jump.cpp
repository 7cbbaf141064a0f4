#include "analysis/random_jump.hpp"

#include <algorithm>
#include <bit>

namespace rankora {
namespace {

constexpr int kLag = 31;
constexpr int kShortLag = 3;
static_assert(std::tuple_size_v<RandLags> == kLag);

// r[i] = r[i-3] + r[i-31] is linear over Z/2^32, so the shift by e draws is x^e reduced
// modulo the characteristic polynomial x^31 - x^28 - 1 (monic: division works in any
// ring, and unsigned wrap-around is the arithmetic mod 2^32). Coefficients from x^0 up.
using Poly = std::array<std::uint32_t, kLag>;

// x^d = x^(d-31) (x^28 + 1) for d >= 31; from the top down, so that what lands at or
// above 31 is folded in turn.
Poly reduce(std::array<std::uint32_t, 2 * kLag - 1>& wide) {
  for (int d = 2 * kLag - 2; d >= kLag; --d) {
    wide[static_cast<std::size_t>(d - kShortLag)] += wide[static_cast<std::size_t>(d)];
    wide[static_cast<std::size_t>(d - kLag)] += wide[static_cast<std::size_t>(d)];
  }
  Poly out;
  std::copy_n(wide.begin(), kLag, out.begin());
  return out;
}

Poly square(const Poly& a) {
  std::array<std::uint32_t, 2 * kLag - 1> wide{};
  for (std::size_t i = 0; i < a.size(); ++i)
    for (std::size_t j = 0; j < a.size(); ++j) wide[i + j] += a[i] * a[j];
  return reduce(wide);
}

Poly times_x(const Poly& a) {
  Poly out;
  const std::uint32_t top = a[kLag - 1];
  out[0] = top;
  for (std::size_t i = 1; i < a.size(); ++i) out[i] = a[i - 1];
  out[kLag - kShortLag] += top;
  return out;
}

// x^e mod the characteristic polynomial, from the highest bit of e down.
Poly power_of_x(std::uint64_t e) {
  Poly p{};
  p[0] = 1;
  for (int bit = 63 - std::countl_zero(e | 1); bit >= 0; --bit) {
    p = square(p);
    if ((e >> bit) & 1) p = times_x(p);
  }
  return p;
}

}  // namespace

JumpAhead::JumpAhead(std::uint64_t draws) : power_(power_of_x(draws)) {}

RandLags JumpAhead::operator()(const RandLags& from) const {
  // from[t] is r[b + t]; entry s of the new state is r[b + draws + s] = sum over t of
  // (x^(draws + s) mod P)_t r[b + t].
  Poly p = power_;
  RandLags to;
  for (std::size_t s = 0; s < to.size(); ++s) {
    std::uint32_t value = 0;
    for (std::size_t t = 0; t < from.size(); ++t) value += p[t] * from[t];
    to[s] = value;
    p = times_x(p);
  }
  return to;
}

RandLags jump_ahead(const RandLags& from, std::uint64_t draws) { return JumpAhead(draws)(from); }

RandLags first_lags() { return RandStream().lags(); }

RandStream::RandStream(const RandLags& lags) {
  std::copy(lags.begin(), lags.end(), raw_);
  pos_ = end_ = kLag;
}

RandLags RandStream::lags() const {
  RandLags out;
  if (pos_ >= kLag) {
    std::copy(raw_ + pos_ - kLag, raw_ + pos_, out.begin());
    return out;
  }
  // A refill keeps only what the recurrence needs: the values just before pos_ that it
  // dropped come back from the recurrence run backwards, r[i-31] = r[i] - r[i-3].
  // wide[kLag + t] is the value at raw_[t], for t from -kLag.
  std::uint32_t wide[2 * kLag];
  std::copy(raw_, raw_ + kLag, wide + kLag);
  for (int t = kLag - 1; t >= 0; --t) wide[t] = wide[t + kLag] - wide[t + kLag - kShortLag];
  std::copy(wide + pos_, wide + pos_ + kLag, out.begin());
  return out;
}

}  // namespace rankora
