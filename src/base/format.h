// Pascal-style format strings on wide text: "%[index:][-][width][.precision]type".
//
// Types: d (decimal; precision = minimum digits, zero padded), x / X (hexadecimal in lower /
// upper case; precision = minimum digits), s (text; precision = maximum characters), and "%%"
// for a percent sign. An index ("%1:s") picks the argument; an unindexed field after it takes the
// argument following the indexed one. Width pads with spaces on the left, or on the right after
// "-". A negative number under x / X prints as its 32-bit two's complement (window handles are
// 32-bit), or 64-bit when it does not fit in 32 bits. A "*" in place of the width or precision takes the value from the next argument.
//
// FormatW never throws and never reads outside its inputs. What it does with bad input:
//  - a field that does not parse (unknown type letter, format ending inside a field) is copied to
//    the output as it stands ("%q" stays "%q", a lone trailing "%" stays "%");
//  - a field whose argument is missing (index past the end, too few arguments, or a "*" that has
//    no integer argument) is copied to the output as it stands, so the gap is visible;
//  - a type mismatch prints the argument in its own form: text for d/x prints as with s, an
//    integer for s prints in decimal; width applies, precision is ignored;
//  - widths and precisions are capped at kFormatMaxWidth.
// Argument texts are copied verbatim: a "%s" inside an argument is never interpreted.
#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace viz {

inline constexpr int kFormatMaxWidth = 4096;

class FmtArg {
 public:
  template <std::integral T>
  FmtArg(T v) : value_(static_cast<int64_t>(v)) {}  // NOLINT: implicit on purpose
  FmtArg(std::wstring_view s) : value_(std::wstring(s)) {}
  FmtArg(const wchar_t* s) : value_(std::wstring(s ? s : L"")) {}
  FmtArg(std::wstring s) : value_(std::move(s)) {}

  bool IsInt() const { return std::holds_alternative<int64_t>(value_); }
  int64_t Int() const { return IsInt() ? std::get<int64_t>(value_) : 0; }
  // Empty for an integer argument.
  std::wstring_view Str() const {
    return IsInt() ? std::wstring_view() : std::wstring_view(std::get<std::wstring>(value_));
  }

 private:
  std::variant<int64_t, std::wstring> value_;
};

std::wstring FormatW(std::wstring_view fmt, std::span<const FmtArg> args);
std::wstring FormatW(std::wstring_view fmt, std::initializer_list<FmtArg> args);

}  // namespace viz
