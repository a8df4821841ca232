#include "base/format.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace viz {
namespace {

struct Field {
  bool left = false;
  int width = 0;
  std::optional<int> precision;
  wchar_t type = 0;
};

// Reads decimal digits at `i`, saturating at kFormatMaxWidth so that a long digit run cannot
// overflow.
int ReadNumber(std::wstring_view fmt, size_t& i) {
  int v = 0;
  while (i < fmt.size() && fmt[i] >= L'0' && fmt[i] <= L'9') {
    v = std::min(v * 10 + (fmt[i] - L'0'), kFormatMaxWidth);
    ++i;
  }
  return v;
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

std::wstring Digits(uint64_t v, unsigned base, bool upper) {
  const wchar_t* set = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
  std::wstring s;
  do {
    s.push_back(set[v % base]);
    v /= base;
  } while (v != 0);
  std::reverse(s.begin(), s.end());
  return s;
}

std::wstring Decimal(int64_t v, std::optional<int> precision) {
  const bool negative = v < 0;
  // Magnitude in unsigned arithmetic: -INT64_MIN does not fit in int64.
  const uint64_t mag = negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  std::wstring digits = Digits(mag, 10, false);
  if (precision && static_cast<int>(digits.size()) < *precision)
    digits.insert(0, *precision - digits.size(), L'0');
  return negative ? L"-" + digits : digits;
}

std::wstring Hex(int64_t v, std::optional<int> precision, bool upper) {
  uint64_t bits = static_cast<uint64_t>(v);
  if (v < 0 && v >= INT32_MIN) bits = static_cast<uint32_t>(v);
  std::wstring digits = Digits(bits, 16, upper);
  if (precision && static_cast<int>(digits.size()) < *precision)
    digits.insert(0, *precision - digits.size(), L'0');
  return digits;
}

void AppendPadded(std::wstring& out, std::wstring_view text, const Field& field) {
  const size_t pad = field.width > static_cast<int>(text.size()) ? field.width - text.size() : 0;
  if (!field.left) out.append(pad, L' ');
  out.append(text);
  if (field.left) out.append(pad, L' ');
}

void AppendArg(std::wstring& out, const FmtArg& arg, const Field& field) {
  const bool numeric = field.type == L'd' || field.type == L'x' || field.type == L'X';
  if (numeric && arg.IsInt()) {
    const std::wstring text = field.type == L'd' ? Decimal(arg.Int(), field.precision)
                                                : Hex(arg.Int(), field.precision, field.type == L'X');
    AppendPadded(out, text, field);
  } else if (!numeric && !arg.IsInt()) {
    std::wstring_view s = arg.Str();
    if (field.precision && static_cast<int>(s.size()) > *field.precision) s = s.substr(0, *field.precision);
    AppendPadded(out, s, field);
  } else if (arg.IsInt()) {  // integer under s
    AppendPadded(out, Decimal(arg.Int(), std::nullopt), field);
  } else {  // text under d / x
    AppendPadded(out, arg.Str(), field);
  }
}

}  // namespace

std::wstring FormatW(std::wstring_view fmt, std::span<const FmtArg> args) {
  std::wstring out;
  out.reserve(fmt.size() + 16);
  size_t next = 0;  // argument taken by the next unindexed field
  size_t i = 0;
  while (i < fmt.size()) {
    const wchar_t c = fmt[i];
    if (c != L'%') {
      out.push_back(c);
      ++i;
      continue;
    }
    if (i + 1 < fmt.size() && fmt[i + 1] == L'%') {
      out.push_back(L'%');
      i += 2;
      continue;
    }
    const size_t start = i++;
    Field field;
    bool ok = true;

    // Takes an integer argument for "*"; false when there is none.
    auto starValue = [&](int& v) {
      if (next >= args.size() || !args[next].IsInt()) return false;
      const int64_t raw = args[next++].Int();
      v = static_cast<int>(std::clamp<int64_t>(raw, -kFormatMaxWidth, kFormatMaxWidth));
      return true;
    };

    // An index is a run of digits followed by ":"; without the colon the digits are the width.
    size_t j = i;
    if (j < fmt.size() && IsDigit(fmt[j])) {
      const int index = ReadNumber(fmt, j);
      if (j < fmt.size() && fmt[j] == L':') {
        next = static_cast<size_t>(index);
        i = j + 1;
      }
    }
    if (i < fmt.size() && fmt[i] == L'-') {
      field.left = true;
      ++i;
    }
    bool missing = false;
    if (i < fmt.size() && fmt[i] == L'*') {
      ++i;
      int w = 0;
      if (starValue(w)) {
        if (w < 0) field.left = true;
        field.width = w < 0 ? -w : w;
      } else {
        missing = true;
      }
    } else {
      field.width = ReadNumber(fmt, i);
    }
    if (i < fmt.size() && fmt[i] == L'.') {
      ++i;
      if (i < fmt.size() && fmt[i] == L'*') {
        ++i;
        int p = 0;
        if (starValue(p)) field.precision = std::max(p, 0);
        else missing = true;
      } else {
        field.precision = ReadNumber(fmt, i);
      }
    }
    if (i >= fmt.size()) {
      ok = false;
    } else {
      const wchar_t t = fmt[i];
      if (t == L'd' || t == L'D') field.type = L'd';
      else if (t == L'x') field.type = L'x';
      else if (t == L'X') field.type = L'X';
      else if (t == L's' || t == L'S') field.type = L's';
      else ok = false;
    }
    if (!ok) {
      // Copy up to (not including) the character that broke the field; it is output as plain
      // text on the next round, so a following "%" still starts a field.
      out.append(fmt.substr(start, i - start));
      continue;
    }
    ++i;
    if (missing || next >= args.size()) {
      out.append(fmt.substr(start, i - start));
      ++next;
      continue;
    }
    AppendArg(out, args[next++], field);
  }
  return out;
}

std::wstring FormatW(std::wstring_view fmt, std::initializer_list<FmtArg> args) {
  return FormatW(fmt, std::span<const FmtArg>(args.begin(), args.size()));
}

}  // namespace viz
