// zlib packing of the stored skin, kept apart from the graphics headers (the
// zlib level names clash with the colour names).
#pragma once

#include "framework/core/streams.h"

// Deflates the whole source from its start into the target at level 9.
void DeflateSkinStream(TStream& source, TStream& target);
// Inflates the zlib stream from the source's start into the target in 4096-byte
// blocks; a damaged or truncated stream raises.
void InflateSkinStream(TStream& source, TStream& target);
