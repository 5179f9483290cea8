#pragma once

#include <cstdint>

// Constants of the compound file container (version 3: 512-byte sectors).
namespace engine::xls::cfb {

inline constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

inline constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
inline constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
inline constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
inline constexpr std::uint32_t kDifatSector = 0xFFFFFFFC;
inline constexpr std::uint32_t kMaxRegularSector = 0xFFFFFFFA;
inline constexpr std::uint32_t kNoStream = 0xFFFFFFFF;

inline constexpr int kHeaderSize = 512;
inline constexpr int kSectorSize = 512;   // the writer's sector size
inline constexpr int kMiniSectorSize = 64;
inline constexpr int kMiniStreamCutoff = 4096;
inline constexpr int kDirEntrySize = 128;
inline constexpr int kHeaderDifatEntries = 109;

enum EntryType : std::uint8_t { Unused = 0, Storage = 1, Stream = 2, Root = 5 };
enum EntryColour : std::uint8_t { Red = 0, Black = 1 };

}  // namespace engine::xls::cfb
