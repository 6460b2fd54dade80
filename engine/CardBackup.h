// Why a card restore failed: the code and text it fires through OnError. The backup file is
// checked whole before the first sector is written, so a refused restore leaves the card
// as it was.
#pragma once

#include <cstdint>

struct TRestoreFailure {
  int32_t Code;
  const char* Text;
};

inline constexpr TRestoreFailure kRestoreNotBigEnough{82, "Destination Drive Not Big Enough"};
inline constexpr TRestoreFailure kRestoreFileMissing{83, "Backup File Not Found"};
inline constexpr TRestoreFailure kRestoreFileIsFolder{84, "Backup File Is A Folder"};
inline constexpr TRestoreFailure kRestoreFileUnreadable{85, "Backup File Cannot Be Read"};
inline constexpr TRestoreFailure kRestoreFileEmpty{86, "Backup File Is Empty"};
inline constexpr TRestoreFailure kRestoreNoHeader{87, "Backup File Has No Header"};
inline constexpr TRestoreFailure kRestoreNoSectors{88, "Backup File Holds No Sectors"};
inline constexpr TRestoreFailure kRestoreFileCut{89, "Backup File Is Incomplete"};
inline constexpr TRestoreFailure kRestoreWriteFailed{90, "Unable To Write To The Drive"};
