#include "suites/ansi_suite.h"

#include "suites/host_services.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace plurion::host {
namespace {

A_FpLong Atan(A_FpLong x) {
    return std::atan(x);
}
A_FpLong Atan2(A_FpLong y, A_FpLong x) {
    return std::atan2(y, x);
}
A_FpLong Ceil(A_FpLong x) {
    return std::ceil(x);
}
A_FpLong Cos(A_FpLong x) {
    return std::cos(x);
}
A_FpLong Exp(A_FpLong x) {
    return std::exp(x);
}
A_FpLong Fabs(A_FpLong x) {
    return std::fabs(x);
}
A_FpLong Floor(A_FpLong x) {
    return std::floor(x);
}
A_FpLong Fmod(A_FpLong x, A_FpLong y) {
    return std::fmod(x, y);
}
A_FpLong Hypot(A_FpLong x, A_FpLong y) {
    return std::hypot(x, y);
}
A_FpLong Log(A_FpLong x) {
    return std::log(x);
}
A_FpLong Log10(A_FpLong x) {
    return std::log10(x);
}
A_FpLong Pow(A_FpLong x, A_FpLong y) {
    return std::pow(x, y);
}
A_FpLong Sin(A_FpLong x) {
    return std::sin(x);
}
A_FpLong Sqrt(A_FpLong x) {
    return std::sqrt(x);
}
A_FpLong Tan(A_FpLong x) {
    return std::tan(x);
}
A_FpLong Asin(A_FpLong x) {
    return std::asin(x);
}
A_FpLong Acos(A_FpLong x) {
    return std::acos(x);
}

// The interface gives no buffer size; messages go into the 256-byte return_msg, so the host
// writes at most that much, as a truncating sprintf.
constexpr std::size_t kMessageBytes = 256;

[[gnu::format(printf, 2, 3)]] A_long Sprintf(A_char* buffer, const A_char* format, ...) {
    if (buffer == nullptr || format == nullptr) {
        return 0;
    }
    std::va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer, kMessageBytes, format, args);
    va_end(args);
    return written;
}

A_char* Strcpy(A_char* destination, const A_char* source) {
    return std::strcpy(destination, source);
}

template <class Table>
Table MakeAnsiTable() {
    Table table{};
    table.atan = Atan;
    table.atan2 = Atan2;
    table.ceil = Ceil;
    table.cos = Cos;
    table.exp = Exp;
    table.fabs = Fabs;
    table.floor = Floor;
    table.fmod = Fmod;
    table.hypot = Hypot;
    table.log = Log;
    table.log10 = Log10;
    table.pow = Pow;
    table.sin = Sin;
    table.sqrt = Sqrt;
    table.tan = Tan;
    table.sprintf = Sprintf;
    table.strcpy = Strcpy;
    table.asin = Asin;
    table.acos = Acos;
    return table;
}

const PF_ANSICallbacks kAnsiCallbacks = MakeAnsiTable<PF_ANSICallbacks>();
const PF_ANSICallbacksSuite1 kAnsiSuite1 = MakeAnsiTable<PF_ANSICallbacksSuite1>();

} // namespace

const PF_ANSICallbacks& AnsiCallbacks() {
    return kAnsiCallbacks;
}
const PF_ANSICallbacksSuite1& AnsiSuite1() {
    return kAnsiSuite1;
}

void RegisterAnsiSuite(SuiteRegistry& registry) {
    registry.add("PF ANSI Suite", 1, &kAnsiSuite1);
}

} // namespace plurion::host
