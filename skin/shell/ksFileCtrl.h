// The kinds of drive the system reports for a root, and sets of them.
#pragma once

#include <cstdint>
#include <initializer_list>

// The values GetDriveTypeA answers; every removable drive, card readers included, is a floppy.
enum TDriveType { dtUnknown, dtNoDrive, dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM };

using TDriveTypes = uint8_t;  // a set of TDriveType

constexpr TDriveTypes DriveTypeSet(std::initializer_list<TDriveType> types) {
  unsigned set = 0;
  for (TDriveType t : types) set |= 1u << t;
  return static_cast<TDriveTypes>(set);
}
// A system answer of 8 or more belongs to no set.
constexpr bool InDriveTypes(TDriveTypes set, unsigned type) { return type < 8 && (set >> type & 1u) != 0; }

constexpr TDriveTypes DefaultDriveTypes = DriveTypeSet({dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM});
