// One GET over HTTP/1.1 from a server on this machine, read whole under an overall
// deadline and checked against what the answer announced: a body shorter or longer than
// its Content-Length, or a chunked body without its last chunk or with more after it, is
// a failure, never a document. Time is read through the clock seam, so tests can move it.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "framework/core/strings.h"
#include "framework/core/sysutils.h"

class EHttpError : public Exception {
 public:
  using Exception::Exception;
};

struct THttpLimits {
  size_t MaxBytes = 0;
  // The answer must be complete within DeadlineMs, plus one second for every
  // BytesPerSecond bytes that have arrived (none when 0).
  unsigned DeadlineMs = 0;
  size_t BytesPerSecond = 0;
};

struct THttpAnswer {
  int Status = 0;
  std::string Body;
};

// The milliseconds an answer may take once `received` bytes of it have arrived.
unsigned HttpAllowedMs(const THttpLimits& limits, size_t received);

// Runs on the caller's thread before every wait for the server, and at least every
// twentieth of a second while the server is quiet: the program keeps its windows
// alive there. It must not start another request.
using THttpWaiting = std::function<void()>;

// Of an answer other than 200 only the status is read. Connects to 127.0.0.1
// ("localhost" is taken as that); raises EHttpError when the server cannot be
// reached, stops answering, misses the deadline, sends more than
// MaxBytes, or other than it announced.
THttpAnswer HttpGet(const String& host, int port, const String& path, const THttpLimits& limits,
                    const THttpWaiting& whileWaiting = {});
