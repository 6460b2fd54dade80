#include "framework/core/decimaltext.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// value = 0.d1 d2 d3 ... x 10^exponent, digits without leading or trailing zeros.
struct Decimal {
  std::string digits;
  int exponent = 0;
};

// Every binary fraction has a finite decimal expansion; to_chars prints it exactly when
// asked for as many decimals as the value has binary places.
Decimal Exact(double magnitude) {
  Decimal d;
  if (magnitude == 0) return d;
  int binaryExponent = 0;
  const double mantissa = std::frexp(magnitude, &binaryExponent);
  uint64_t bits = static_cast<uint64_t>(std::ldexp(mantissa, 53));
  int places = 53 - binaryExponent;
  while (places > 0 && (bits & 1) == 0) {
    bits >>= 1;
    --places;
  }
  char buf[1600];
  const auto r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed, places > 0 ? places : 0);
  const std::string text(buf, r.ptr);
  const size_t point = text.find('.');
  const size_t intLength = point == std::string::npos ? text.size() : point;
  std::string all = text.substr(0, intLength) + (point == std::string::npos ? "" : text.substr(point + 1));
  const size_t first = all.find_first_not_of('0');
  d.digits = all.substr(first);
  d.exponent = static_cast<int>(intLength) - static_cast<int>(first);
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

// Keeps the first `keep` digits; the rest rounds up when it is at least half a unit of the
// last kept digit, which in an exact expansion is: its first digit is 5 or more.
void RoundTo(Decimal& d, int keep) {
  if (keep < 0 || d.digits.empty()) {
    d.digits.clear();
    return;
  }
  if (static_cast<size_t>(keep) >= d.digits.size()) return;
  const bool up = d.digits[keep] >= '5';
  d.digits.resize(keep);
  if (up) {
    int i = keep - 1;
    while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
    if (i >= 0) {
      ++d.digits[i];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exponent;
    }
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
}

char DigitAt(const Decimal& d, int index) {
  return index >= 0 && static_cast<size_t>(index) < d.digits.size() ? d.digits[index] : '0';
}

bool Special(double value, std::string& out) {
  if (std::isnan(value)) out = "NAN";
  else if (std::isinf(value)) out = value < 0 ? "-INF" : "INF";
  else return false;
  return true;
}

}  // namespace

std::string FixedText(double value, int decimals, char separator) {
  std::string out;
  if (Special(value, out)) return out;
  Decimal d = Exact(std::fabs(value));
  RoundTo(d, d.exponent + decimals);
  if (std::signbit(value) && !d.digits.empty()) out += '-';
  if (d.exponent <= 0 || d.digits.empty()) out += '0';
  for (int i = 0; i < d.exponent && !d.digits.empty(); ++i) out += DigitAt(d, i);
  if (decimals > 0) {
    out += separator;
    const int start = d.digits.empty() ? 0 : d.exponent;
    for (int f = 0; f < decimals; ++f) out += d.digits.empty() ? '0' : DigitAt(d, start + f);
  }
  return out;
}

std::string GeneralText(double value, int precision, char separator) {
  std::string out;
  if (Special(value, out)) return out;
  Decimal d = Exact(std::fabs(value));
  RoundTo(d, precision);
  if (d.digits.empty()) return "0";
  if (value < 0) out += '-';
  const int size = static_cast<int>(d.digits.size());
  if (d.exponent > precision || d.exponent < -3) {
    out += d.digits[0];
    if (size > 1) out += separator + d.digits.substr(1);
    out += 'E';
    if (d.exponent - 1 < 0) out += '-';
    out += std::to_string(std::abs(d.exponent - 1));
  } else if (d.exponent <= 0) {
    out += '0';
    out += separator;
    out.append(-d.exponent, '0');
    out += d.digits;
  } else {
    for (int i = 0; i < d.exponent; ++i) out += DigitAt(d, i);
    if (size > d.exponent) out += separator + d.digits.substr(d.exponent);
  }
  return out;
}
