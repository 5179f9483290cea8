#include "engine/xls/cell_values.h"

#include "engine/xls/byte_io.h"

#include <cmath>
#include <cstring>

namespace engine::xls {

namespace {

constexpr std::uint32_t kRkDividedBy100 = 0x01;
constexpr std::uint32_t kRkInteger = 0x02;

std::optional<std::uint32_t> rkWithoutScale(double v) {
    // A 30-bit signed integer.
    if (v == std::trunc(v) && v >= -536870912.0 && v <= 536870911.0 && !(v == 0 && std::signbit(v))) {
        const auto i = static_cast<std::int32_t>(v);
        return (static_cast<std::uint32_t>(i) << 2) | kRkInteger;
    }
    // A double whose low 34 bits are zero keeps its high 30 bits.
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    if ((bits & 0x3FFFFFFFFull) == 0) return static_cast<std::uint32_t>(bits >> 32);
    return std::nullopt;
}

// The eight bytes of a non-numeric result: a type, a payload byte and 0xFFFF at the
// end, which no finite double has.
std::array<char, 8> specialResult(std::uint8_t type, std::uint8_t payload) {
    std::array<char, 8> b{};
    b[0] = static_cast<char>(type);
    b[2] = static_cast<char>(payload);
    storeU16(b.data() + 6, 0xFFFF);
    return b;
}

constexpr std::uint8_t kResultText = 0;
constexpr std::uint8_t kResultBoolean = 1;
constexpr std::uint8_t kResultError = 2;
constexpr std::uint8_t kResultEmptyText = 3;

}  // namespace

std::optional<std::uint32_t> encodeRk(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    if (auto rk = rkWithoutScale(value)) return rk;
    const double scaled = value * 100.0;
    if (std::isfinite(scaled)) {
        if (auto rk = rkWithoutScale(scaled); rk && decodeRk(*rk | kRkDividedBy100) == value)
            return *rk | kRkDividedBy100;
    }
    return std::nullopt;
}

double decodeRk(std::uint32_t rk) {
    double v;
    if (rk & kRkInteger) {
        v = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFC) << 32;
        std::memcpy(&v, &bits, sizeof v);
    }
    return (rk & kRkDividedBy100) ? v / 100.0 : v;
}

FormulaResult encodeFormulaResult(const CellValue& value) {
    FormulaResult r;
    if (const double* d = std::get_if<double>(&value); d && std::isfinite(*d)) {
        storeF64(r.value.data(), *d);
    } else if (d) {
        r.value = specialResult(kResultError, static_cast<std::uint8_t>(ErrorValue::Num));
    } else if (const QString* s = std::get_if<QString>(&value)) {
        if (s->isEmpty()) {
            r.value = specialResult(kResultEmptyText, 0);
        } else {
            r.value = specialResult(kResultText, 0);
            r.text = s;
        }
    } else if (const bool* b = std::get_if<bool>(&value)) {
        r.value = specialResult(kResultBoolean, *b ? 1 : 0);
    } else if (const ErrorValue* e = std::get_if<ErrorValue>(&value)) {
        r.value = specialResult(kResultError, static_cast<std::uint8_t>(*e));
    } else {
        r.value = specialResult(kResultEmptyText, 0);  // no result yet reads as empty text
    }
    return r;
}

CellValue decodeFormulaResult(const char* bytes, bool& textFollows) {
    textFollows = false;
    if (readU16(bytes + 6) != 0xFFFF) return readF64(bytes);
    const auto payload = static_cast<std::uint8_t>(bytes[2]);
    switch (static_cast<std::uint8_t>(bytes[0])) {
    case kResultText:
        textFollows = true;
        return QString();
    case kResultBoolean:
        return payload != 0;
    case kResultError:
        return errorFromCode(payload);
    default:
        return QString();
    }
}

ErrorValue errorFromCode(std::uint8_t code) {
    switch (static_cast<ErrorValue>(code)) {
    case ErrorValue::Null: case ErrorValue::Div0: case ErrorValue::Value: case ErrorValue::Ref:
    case ErrorValue::Name: case ErrorValue::Num: case ErrorValue::NA:
        return static_cast<ErrorValue>(code);
    }
    return ErrorValue::Value;
}

}  // namespace engine::xls
