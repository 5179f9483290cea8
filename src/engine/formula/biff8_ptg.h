#pragma once

#include <cstdint>

// Token ids ("ptg") of the file format's formula expressions, which store a formula
// in reverse Polish order. Operand tokens from 0x20 up come in three classes: the
// ids listed here are the reference class; value class adds 0x20, array class 0x40.
namespace engine::formula::ptg {

inline constexpr std::uint8_t Exp = 0x01;
inline constexpr std::uint8_t Tbl = 0x02;
inline constexpr std::uint8_t Add = 0x03;
inline constexpr std::uint8_t Sub = 0x04;
inline constexpr std::uint8_t Mul = 0x05;
inline constexpr std::uint8_t Div = 0x06;
inline constexpr std::uint8_t Power = 0x07;
inline constexpr std::uint8_t Concat = 0x08;
inline constexpr std::uint8_t LT = 0x09;
inline constexpr std::uint8_t LE = 0x0A;
inline constexpr std::uint8_t EQ = 0x0B;
inline constexpr std::uint8_t GE = 0x0C;
inline constexpr std::uint8_t GT = 0x0D;
inline constexpr std::uint8_t NE = 0x0E;
inline constexpr std::uint8_t Uplus = 0x12;
inline constexpr std::uint8_t Uminus = 0x13;
inline constexpr std::uint8_t Percent = 0x14;
inline constexpr std::uint8_t Paren = 0x15;
inline constexpr std::uint8_t MissArg = 0x16;
inline constexpr std::uint8_t Str = 0x17;
inline constexpr std::uint8_t Attr = 0x19;
inline constexpr std::uint8_t Err = 0x1C;
inline constexpr std::uint8_t Bool = 0x1D;
inline constexpr std::uint8_t Int = 0x1E;
inline constexpr std::uint8_t Num = 0x1F;

inline constexpr std::uint8_t Array = 0x20;
inline constexpr std::uint8_t Func = 0x21;
inline constexpr std::uint8_t FuncVar = 0x22;
inline constexpr std::uint8_t Name = 0x23;
inline constexpr std::uint8_t Ref = 0x24;
inline constexpr std::uint8_t Area = 0x25;
inline constexpr std::uint8_t RefErr = 0x2A;
inline constexpr std::uint8_t AreaErr = 0x2B;
inline constexpr std::uint8_t RefN = 0x2C;
inline constexpr std::uint8_t AreaN = 0x2D;

inline constexpr std::uint8_t kValueClass = 0x20;  // added to a reference-class id

// The reference-class id of any operand token id (0x44 and 0x64 give 0x24).
inline constexpr std::uint8_t baseId(std::uint8_t id) {
    return id < 0x20 ? id : static_cast<std::uint8_t>((id & 0x1F) | 0x20);
}

// Column field of ptgRef and ptgArea: column in the low byte, relative flags on top.
inline constexpr std::uint16_t kColumnRelative = 0x4000;
inline constexpr std::uint16_t kRowRelative = 0x8000;
inline constexpr std::uint16_t kColumnMask = 0x00FF;

// ptgAttr flags.
inline constexpr std::uint8_t AttrVolatile = 0x01;
inline constexpr std::uint8_t AttrIf = 0x02;
inline constexpr std::uint8_t AttrChoose = 0x04;
inline constexpr std::uint8_t AttrSkip = 0x08;
inline constexpr std::uint8_t AttrSum = 0x10;
inline constexpr std::uint8_t AttrAssignment = 0x20;
inline constexpr std::uint8_t AttrSpace = 0x40;

inline constexpr int kSumFunctionIndex = 4;

}  // namespace engine::formula::ptg
