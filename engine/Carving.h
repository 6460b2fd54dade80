// The files the carver created in one DezoDozi pass, kept for the re-extraction.
#pragma once

#include <cstdint>

#include "framework/core/lists.h"
#include "framework/core/sysutils.h"

class TSESupportedFileType;

class TSERAWFile : public TObject {
 public:
  uint32_t StartSector = 0;
  String Path;
  TSESupportedFileType* FileType = nullptr;  // not owned
};

// The JPEG cap of the carver: a run of a "JPG" or "JPEG" type stops growing past it.
inline constexpr uint32_t kCarvedJPEGCap = 10485760;
