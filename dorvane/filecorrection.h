// The correction threads that CorrectFile starts, one per file, each freeing itself when
// done: a JPEG is cut after its last end-of-image marker, an X3F after its section
// directory, a CRW after its raw data under the name stored inside it (and its thumbnail
// JPEG renamed), and a TIFF-based file gets its maker's extension appended.
// Repairs cut the file in place, so there is never a moment when its bytes are lost.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "framework/core/sysutils.h"

// Starts the thread for the file's extension and returns 1, or returns 0 (empty name,
// no extension, a type without correction, or a thread that could not be started).
int32_t CorrectFile(const String& FileName);

// The work of each thread, run on the calling thread; true when the repair succeeded.
bool CorrectJPEG(const String& FileName);
bool CorrectX3F(const String& FileName);
// Wait is the pause between the thumbnail searches (2000 ms each in the threads).
bool CorrectCRW(const String& FileName, const std::function<void(DWORD)>& Wait);
bool CorrectTIF_NEF_PEF(const String& FileName);

// Correction threads still running; waits up to timeoutMs for them all to end.
int RunningCorrections();
bool WaitForCorrections(DWORD timeoutMs);
