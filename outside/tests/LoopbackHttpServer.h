// A tiny HTTP server on 127.0.0.1 (a free port) inside the test program: it answers
// each request with the reply set for its path and counts what it was asked.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TLoopbackHttpServer {
 public:
  struct Reply {
    int Status = 200;
    std::string Body;
    std::string ExtraHeaders;  // "Location: ...\r\n"
    // Sent as it is in place of the status line, headers and body above; the
    // connection is closed after it however much it promised.
    std::string Raw;
    // Sent in pieces of this many bytes, BeforePiece running before every piece
    // but the first (a test moves its clock there).
    size_t PieceBytes = 0;
    std::function<void()> BeforePiece;
  };

  TLoopbackHttpServer();
  ~TLoopbackHttpServer();

  int Port() const { return port_; }
  std::string Site() const { return "http://127.0.0.1:" + std::to_string(port_) + "/updates/"; }
  void Set(const std::string& path, Reply reply);
  std::vector<std::string> Requests();

 private:
  void Serve();

  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::mutex lock_;
  std::map<std::string, Reply> replies_;
  std::vector<std::string> requests_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};
