#include "engine/FoundFiles.h"

TSEClassList FoundDirectories;
TSEClassList FoundFiles;

String RecoverabilityPrefix(uint8_t recoverability) {
  switch (recoverability) {
    case rcFreeStart: return "GC_";
    case rcUsedStart: return "PC_";
    default: return "";
  }
}
