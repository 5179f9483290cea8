#pragma once

// Constants of the spreadsheet object model, by their object-model names and values.
namespace engine {

// Alignment
inline constexpr int xlGeneral = 1;
inline constexpr int xlLeft = -4131;
inline constexpr int xlCenter = -4108;
inline constexpr int xlRight = -4152;
inline constexpr int xlTop = -4160;
inline constexpr int xlBottom = -4107;

// Borders: line styles, weights, indexes
inline constexpr int xlContinuous = 1;
inline constexpr int xlLineStyleNone = -4142;
inline constexpr int xlThin = 2;
inline constexpr int xlMedium = -4138;
inline constexpr int xlThick = 4;
inline constexpr int xlEdgeLeft = 7;
inline constexpr int xlEdgeTop = 8;
inline constexpr int xlEdgeBottom = 9;
inline constexpr int xlEdgeRight = 10;
inline constexpr int xlInsideVertical = 11;
inline constexpr int xlInsideHorizontal = 12;

// Colour indexes
inline constexpr int xlColorIndexAutomatic = -4105;
inline constexpr int xlColorIndexNone = -4142;

// Page setup
inline constexpr int xlPrintNoComments = -4142;
inline constexpr int xlPrintSheetEnd = 1;
inline constexpr int xlPrintInPlace = 16;
inline constexpr int xlPortrait = 1;
inline constexpr int xlLandscape = 2;
inline constexpr int xlPaperLetter = 1;
inline constexpr int xlPaperA4 = 9;

// Application: cancel key and cursor
inline constexpr int xlDisabled = 0;
inline constexpr int xlInterrupt = 1;
inline constexpr int xlErrorHandler = 2;
inline constexpr int xlDefault = -4143;
inline constexpr int xlNorthwestArrow = 1;
inline constexpr int xlWait = 2;
inline constexpr int xlIBeam = 3;

// File formats of SaveAs (both write the .xls workbook format)
inline constexpr int xlNormal = -4143;
inline constexpr int xlExcel8 = 56;

}  // namespace engine
