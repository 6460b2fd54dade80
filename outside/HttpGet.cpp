#include <winsock2.h>

#include "outside/HttpGet.h"

#include <algorithm>
#include <cctype>

#include "framework/core/handles.h"
#include "framework/core/seams.h"

namespace {

constexpr DWORD kQuietMs = 10000;  // the longest a server may stay silent
constexpr DWORD kSliceMs = 50;     // the longest between two calls of the waiting hook
constexpr size_t kHeaderLimit = 16 * 1024;

struct SocketTraits {
  using Handle = SOCKET;
  static Handle None() { return INVALID_SOCKET; }
  static bool IsValid(Handle h) { return h != INVALID_SOCKET; }
  static void Close(Handle h) { closesocket(h); }
};

class TWinsock {
 public:
  TWinsock() : ok_(WSAStartup(MAKEWORD(2, 2), &data_) == 0) {}
  ~TWinsock() {
    if (ok_) WSACleanup();
  }
  TWinsock(const TWinsock&) = delete;
  TWinsock& operator=(const TWinsock&) = delete;
  explicit operator bool() const { return ok_; }

 private:
  WSADATA data_{};
  bool ok_;
};

[[noreturn]] void Fail(const String& text) { throw EHttpError(text); }

// Spaces, controls and bytes beyond ASCII travel escaped.
std::string EscapePath(const String& path) {
  std::string out;
  for (unsigned char c : path) {
    if (c > 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      const char* hex = "0123456789ABCDEF";
      out += {'%', hex[c >> 4], hex[c & 15]};
    }
  }
  return out;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Trimmed(const std::string& s) {
  size_t from = s.find_first_not_of(" \t"), to = s.find_last_not_of(" \t");
  return from == std::string::npos ? std::string() : s.substr(from, to - from + 1);
}

// A decimal or hexadecimal count with nothing else in it; -1 when it is none or
// passes `max`.
int64_t Count(const std::string& text, int base, int64_t max) {
  if (text.empty() || text.size() > 16) return -1;
  int64_t value = 0;
  for (char c : text) {
    int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                : base == 16 && std::isxdigit(static_cast<unsigned char>(c))
                    ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                    : -1;
    if (digit < 0) return -1;
    value = value * base + digit;
    if (value > max) return -1;
  }
  return value;
}

// The connection to the server and what it has sent that is not taken yet, read
// under the deadline.
class TConnection {
 public:
  TConnection(const String& host, int port, const THttpLimits& limits, const THttpWaiting& whileWaiting)
      : limits_(limits), whileWaiting_(whileWaiting), started_(Clock().TickCount()) {
    socket_.reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    u_long nonBlocking = 1;
    if (!socket_ || ioctlsocket(socket_.get(), FIONBIO, &nonBlocking) != 0) Fail("No connection can be made");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr(LowerCase(host) == "localhost" ? "127.0.0.1" : host.c_str());
    address.sin_port = htons(static_cast<u_short>(port));
    if (connect(socket_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 &&
        WSAGetLastError() != WSAEWOULDBLOCK)
      Fail("The server cannot be reached");
    int error = 0, length = sizeof error;
    if (!Wait(false) || getsockopt(socket_.get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0 ||
        error != 0)
      Fail("The server cannot be reached");
  }

  void Send(const std::string& data) {
    for (size_t sent = 0; sent < data.size();) {
      if (!Wait(false)) Fail("The server does not take the request");
      int n = send(socket_.get(), data.data() + sent, static_cast<int>(data.size() - sent), 0);
      if (n <= 0) Fail("The server does not take the request");
      sent += static_cast<size_t>(n);
    }
  }

  // Reads more into Pending(); false once the server has closed the connection.
  bool Receive() {
    if (!Wait(true)) Fail("The server stopped answering");
    char buffer[8192];
    int n = recv(socket_.get(), buffer, sizeof buffer, 0);
    if (n < 0) Fail("Reading from the server failed");
    pending_.append(buffer, static_cast<size_t>(n));
    received_ += static_cast<size_t>(n);
    if (received_ > limits_.MaxBytes + kHeaderLimit) Fail("The answer is larger than expected");
    TimeLeft();  // what arrives late counts as not arrived
    return n > 0;
  }

  std::string& Pending() { return pending_; }

  // The answer ends where it said it would: the server closes the connection there, as
  // asked, and anything more means the answer is not what it announced.
  void ExpectEnd() {
    while (pending_.empty())
      if (!Receive()) return;
    Fail("The answer is longer than it announced");
  }

  // The next line without its CRLF.
  std::string Line() {
    size_t end;
    while ((end = pending_.find("\r\n")) == std::string::npos) {
      if (pending_.size() > kHeaderLimit) Fail("The answer is not valid HTTP");
      if (!Receive()) Fail("The answer ended early");
    }
    std::string line = pending_.substr(0, end);
    pending_.erase(0, end + 2);
    return line;
  }

  // Exactly `bytes` more bytes; fewer mean the answer ended short.
  std::string Take(size_t bytes) {
    while (pending_.size() < bytes)
      if (!Receive()) Fail("The answer ended short: " + IntToStr(static_cast<int64_t>(pending_.size())) + " of " +
                           IntToStr(static_cast<int64_t>(bytes)) + " bytes arrived");
    std::string taken = pending_.substr(0, bytes);
    pending_.erase(0, bytes);
    return taken;
  }

 private:
  // Waits for the socket to be readable (or writable, or failed, as a refused
  // connection is), no longer than the server may stay quiet and never past the
  // deadline; false when nothing came. The caller's waiting hook runs before every
  // slice of the wait.
  bool Wait(bool forReading) {
    const DWORD quiet = std::min(TimeLeft(), kQuietMs);
    for (DWORD waited = 0; waited < quiet;) {
      if (whileWaiting_) whileWaiting_();
      const DWORD slice = std::min(quiet - waited, kSliceMs);
      fd_set ready, failed;
      FD_ZERO(&ready);
      FD_ZERO(&failed);
      FD_SET(socket_.get(), &ready);
      FD_SET(socket_.get(), &failed);
      timeval timeout{static_cast<long>(slice / 1000), static_cast<long>(slice % 1000 * 1000)};
      const int n = select(0, forReading ? &ready : nullptr, forReading ? nullptr : &ready, &failed, &timeout);
      if (n != 0) return n > 0;
      waited += slice;
      TimeLeft();  // the deadline may pass while the server is quiet
    }
    return false;
  }

  // The time left before the deadline; raises once it has passed.
  DWORD TimeLeft() const {
    DWORD allowed = HttpAllowedMs(limits_, received_);
    DWORD spent = Clock().TickCount() - started_;
    if (spent >= allowed) Fail("The answer did not arrive in time");
    return allowed - spent;
  }

  THttpLimits limits_;
  const THttpWaiting& whileWaiting_;
  DWORD started_;
  UniqueHandle<SocketTraits> socket_;
  std::string pending_;
  size_t received_ = 0;
};

}  // namespace

unsigned HttpAllowedMs(const THttpLimits& limits, size_t received) {
  if (limits.BytesPerSecond == 0) return limits.DeadlineMs;
  uint64_t more = static_cast<uint64_t>(received) / limits.BytesPerSecond * 1000;
  return static_cast<unsigned>(std::min<uint64_t>(limits.DeadlineMs + more, 0x7FFFFFFF));
}

THttpAnswer HttpGet(const String& host, int port, const String& path, const THttpLimits& limits,
                    const THttpWaiting& whileWaiting) {
  TWinsock winsock;
  if (!winsock) Fail("The network library could not be started");
  TConnection connection(host, port, limits, whileWaiting);
  connection.Send("GET " + EscapePath(path) + " HTTP/1.1\r\nHost: " + host + ":" + IntToStr(port) +
                  "\r\nUser-Agent: Korvalo update\r\nAccept-Encoding: identity\r\nConnection: close\r\n\r\n");

  THttpAnswer answer;
  const std::string status = connection.Line();
  // "HTTP/1.x", a blank, a code of exactly three digits, then a blank or the line's end.
  if (status.compare(0, 7, "HTTP/1.") != 0 || status.size() < 12 || status[8] != ' ' ||
      (status.size() > 12 && status[12] != ' '))
    Fail("The answer is not valid HTTP");
  answer.Status = static_cast<int>(Count(status.substr(9, 3), 10, 999));
  if (answer.Status < 100) Fail("The answer is not valid HTTP");
  if (answer.Status != 200) return answer;

  int64_t length = -1;
  bool chunked = false;
  for (std::string line; !(line = connection.Line()).empty();) {
    size_t colon = line.find(':');
    if (colon == std::string::npos) Fail("The answer is not valid HTTP");
    const std::string name = Lower(Trimmed(line.substr(0, colon))), value = Trimmed(line.substr(colon + 1));
    if (name == "content-length") {
      int64_t announced = Count(value, 10, static_cast<int64_t>(limits.MaxBytes));
      if (announced < 0) Fail("The answer is larger than expected or its length is not valid");
      if (length >= 0 && announced != length) Fail("The answer announces two lengths");
      length = announced;
    } else if (name == "transfer-encoding") {
      if (Lower(value) != "chunked") Fail("The answer is encoded as " + value);
      chunked = true;
    }
  }

  if (chunked) {
    for (;;) {
      std::string size = connection.Line();
      size = Trimmed(size.substr(0, size.find(';')));
      int64_t bytes = Count(size, 16, static_cast<int64_t>(limits.MaxBytes));
      if (bytes < 0 || answer.Body.size() + static_cast<size_t>(bytes) > limits.MaxBytes)
        Fail("The answer is larger than expected or not validly chunked");
      if (bytes == 0) break;
      answer.Body += connection.Take(static_cast<size_t>(bytes));
      if (!connection.Line().empty()) Fail("The answer is not validly chunked");
    }
    // Trailers, up to the empty line that ends the answer.
    while (!connection.Line().empty()) continue;
    connection.ExpectEnd();
  } else if (length >= 0) {
    answer.Body = connection.Take(static_cast<size_t>(length));
    connection.ExpectEnd();
  } else {
    // Neither length nor chunks: the body ends where the server closes.
    while (connection.Receive()) {
      if (connection.Pending().size() > limits.MaxBytes) Fail("The answer is larger than expected");
    }
    answer.Body = std::move(connection.Pending());
  }
  return answer;
}
