// Exceptions and string, number and formatting routines of the run-time library.
// Exception texts are behaviour: logs copy them.
#pragma once

#include <windows.h>  // MulDiv is the system's own; DWORD for error codes

#include <concepts>
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

using String = std::string;

class Exception : public std::exception {
 public:
  explicit Exception(String message) : Message(std::move(message)) {}
  const char* what() const noexcept override { return Message.c_str(); }

  String Message;
};

class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

class EListError : public Exception {
 public:
  using Exception::Exception;
};

class EStreamError : public Exception {
 public:
  using Exception::Exception;
};

class EReadError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

class EWriteError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

class EFOpenError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

class EFCreateError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};

class EInvalidGraphicOperation : public Exception {
 public:
  using Exception::Exception;
};

class EOutOfResources : public Exception {
 public:
  using Exception::Exception;
};

class EOutOfMemory : public Exception {
 public:
  using Exception::Exception;
};

class EInvalidOperation : public Exception {
 public:
  using Exception::Exception;
};

class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};

class EIniFileException : public Exception {
 public:
  using Exception::Exception;
};

class EJPEG : public Exception {
 public:
  using Exception::Exception;
};

class EThread : public Exception {
 public:
  using Exception::Exception;
};

class EZCompressionError : public Exception {
 public:
  using Exception::Exception;
};

class EZDecompressionError : public Exception {
 public:
  using Exception::Exception;
};

class EOSError : public Exception {
 public:
  EOSError(String message, uint32_t errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
  uint32_t ErrorCode;
};

// Silent: stops an operation without any message.
class EAbort : public Exception {
 public:
  using Exception::Exception;
};

// ---- Integers and text ----------------------------------------------------------------

String IntToStr(int64_t value);
String UIntToStr(uint64_t value);
// Any integer type but bool; unsigned values print unsigned.
template <std::integral T>
  requires(!std::same_as<T, bool>)
String IntToStr(T value) {
  if constexpr (std::is_signed_v<T>) return IntToStr(static_cast<int64_t>(value));
  else return UIntToStr(static_cast<uint64_t>(value));
}

// Upper-case hex, zero-padded to at least `digits`; negative values as two's complement of
// their own width (IntToHex(-1, 2) = "FFFFFFFF" for a 32-bit int).
String IntToHexBits(uint64_t value, int digits);
template <std::integral T>
  requires(!std::same_as<T, bool>)
String IntToHex(T value, int digits) {
  using U = std::make_unsigned_t<T>;
  return IntToHexBits(static_cast<uint64_t>(static_cast<U>(value)), digits);
}

// Leading blanks (space, tab), an optional sign, then decimal digits or `$`/`0x`/`0X` and up
// to 8 hex digits read as a 32-bit two's complement value; nothing may follow. Anything else
// raises EConvertError("'<text>' is not a valid integer value").
int StrToInt(const String& s);
int StrToIntDef(const String& s, int def);
bool TryStrToInt(const String& s, int& value);
// Alike over 64 bits (up to 16 hex digits).
int64_t StrToInt64(const String& s);
int64_t StrToInt64Def(const String& s, int64_t def);
bool TryStrToInt64(const String& s, int64_t& value);

// Nearest integer, exact halves to even (Round(12.5) = 12, Round(13.5) = 14). Both raise
// EConvertError for NaN, infinities and values beyond 64 bits.
int64_t Round(double value);
// Toward zero.
int64_t Trunc(double value);

// ---- Format ---------------------------------------------------------------------------

// One argument of Format, tagged with what it holds so a mismatch is caught at run time.
struct TFormatArg {
  enum class Kind { Signed, Unsigned, Float, Text, Pointer };
  Kind kind;
  int bits = 0;  // width of an integer argument, for %x and %u of negative values
  int64_t i = 0;
  uint64_t u = 0;
  double f = 0;
  std::string_view s;
  const void* p = nullptr;
};

inline TFormatArg MakeFormatArg(const String& v) { return {TFormatArg::Kind::Text, 0, 0, 0, 0, v, nullptr}; }
inline TFormatArg MakeFormatArg(std::string_view v) { return {TFormatArg::Kind::Text, 0, 0, 0, 0, v, nullptr}; }
inline TFormatArg MakeFormatArg(const char* v) {
  return {TFormatArg::Kind::Text, 0, 0, 0, 0, v ? std::string_view(v) : std::string_view(), nullptr};
}
inline TFormatArg MakeFormatArg(const char& v) {
  return {TFormatArg::Kind::Text, 0, 0, 0, 0, std::string_view(&v, 1), nullptr};
}
inline TFormatArg MakeFormatArg(const void* v) { return {TFormatArg::Kind::Pointer, 0, 0, 0, 0, {}, v}; }
template <std::floating_point T>
TFormatArg MakeFormatArg(T v) {
  return {TFormatArg::Kind::Float, 0, 0, 0, static_cast<double>(v), {}, nullptr};
}
template <class T>
  requires((std::integral<T> || std::is_enum_v<T>) && !std::same_as<T, bool> && !std::same_as<T, char>)
TFormatArg MakeFormatArg(T v) {
  constexpr int bits = static_cast<int>(sizeof(T) * 8);
  if constexpr (std::is_enum_v<T>) {
    using U = std::underlying_type_t<T>;
    return MakeFormatArg(static_cast<std::conditional_t<std::same_as<U, char>, int, U>>(v));
  } else if constexpr (std::is_signed_v<T>) {
    return {TFormatArg::Kind::Signed, bits, static_cast<int64_t>(v), 0, 0, {}, nullptr};
  } else {
    return {TFormatArg::Kind::Unsigned, bits, 0, static_cast<uint64_t>(v), 0, {}, nullptr};
  }
}

// The untyped worker of Format.
String FormatArgs(std::string_view format, std::initializer_list<TFormatArg> args);

// "%" [index ":"] ["-"] [width] ["." precision] type, with types s d u x f g p and "%%". Width pads with
// blanks (left-justified with "-"); precision is the minimum digit count for d u x, the
// decimals for f (2 when absent), the significant digits for g (15 when absent) and the most
// characters for s. Decimals are rounded from the exact binary value, exact ties away from
// zero; the decimal separator is the locale's. Width and precision may be "*" (taken from
// the next integer argument). A leading zero in the width pads with blanks all the same:
// "%2.2d" gives two digits. A char argument is text, signed and unsigned char are numbers.
// An argument of a type that has no directive (bool, class objects) does not compile; a
// missing or mismatched one raises EConvertError.
template <class... Args>
String Format(std::string_view format, const Args&... args) {
  return FormatArgs(format, {MakeFormatArg(args)...});
}

// General format with 15 significant digits and the locale's decimal separator.
String FloatToStr(double value);

// ---- Strings --------------------------------------------------------------------------

// Strip bytes up to 0x20.
String Trim(const String& s);
String TrimLeft(const String& s);
String TrimRight(const String& s);
// ASCII folding only; AnsiUpperCase uses the system's tables and is for shown text.
String UpperCase(const String& s);
String LowerCase(const String& s);
String AnsiUpperCase(const String& s);
String AnsiLowerCase(const String& s);
bool SameText(const String& a, const String& b);
int CompareText(const String& a, const String& b);  // <0, 0, >0 with ASCII folding
int CompareStr(const String& a, const String& b);   // <0, 0, >0 by unsigned bytes

// 1-based like the algorithms ported onto them: Copy clamps to the string and never reads
// out of range; Pos gives 0 when Sub is absent or empty.
String Copy(const String& s, int64_t index, int64_t count);
int Pos(const String& sub, const String& s);
String StringOfChar(char c, int count);

// ---- Arithmetic -----------------------------------------------------------------------

template <class A, class B>
  requires std::is_arithmetic_v<A> && std::is_arithmetic_v<B>
std::common_type_t<A, B> Min(A a, B b) {
  using C = std::common_type_t<A, B>;
  return static_cast<C>(b) < static_cast<C>(a) ? static_cast<C>(b) : static_cast<C>(a);
}
template <class A, class B>
  requires std::is_arithmetic_v<A> && std::is_arithmetic_v<B>
std::common_type_t<A, B> Max(A a, B b) {
  using C = std::common_type_t<A, B>;
  return static_cast<C>(a) < static_cast<C>(b) ? static_cast<C>(b) : static_cast<C>(a);
}
double Power(double base, double exponent);
double Sqrt(double value);
// Process-wide generator under a lock: Random(n) in [0, n), 0 when n <= 0; Random() in [0, 1).
int Random(int range);
double Random();
void Randomize();

// ---- System ---------------------------------------------------------------------------

// The system's text for an error code, without trailing blanks and dots.
String SysErrorMessage(DWORD errorCode);
// Raises EOSError for GetLastError().
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(DWORD errorCode);
void Beep();
[[noreturn]] void Halt(int exitCode = 0);

// Command line: ParamStr(0) is the program file (in the library, the host program's).
int ParamCount();
String ParamStr(int index);
// The module this code is linked into (the library's own inside the library).
HINSTANCE HInstance();
