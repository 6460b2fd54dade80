// Every tag a reader found, one line each: group, tag number, name and value text,
// separated by tabs; then the IPTC lines and the reader's outcome.
#pragma once

#include <vector>

#include "framework/core/sysutils.h"

class TimgData;

std::vector<String> DumpMetadata(TimgData& reader);
