// Splits a file that holds several JPEG streams: working from the end towards the start,
// each FF D8 .. FF D9 pair is written to a file of its own beside the input, named by
// the input's full name, the stream's start offset and ".jpg". The input is not changed.
#pragma once

#include "framework/core/sysutils.h"

// Always false (callers ignore it); failures go to the info log.
bool DissectJPEG(const String& FileName);
