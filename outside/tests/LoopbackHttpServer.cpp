#include "LoopbackHttpServer.h"

#include <ws2tcpip.h>

#include <algorithm>

TLoopbackHttpServer::TLoopbackHttpServer() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int length = sizeof address;
  getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  listen(listener_, 8);
  thread_ = std::thread([this] { Serve(); });
}

TLoopbackHttpServer::~TLoopbackHttpServer() {
  stop_ = true;
  closesocket(listener_);
  thread_.join();
  WSACleanup();
}

void TLoopbackHttpServer::Set(const std::string& path, Reply reply) {
  std::lock_guard<std::mutex> guard(lock_);
  replies_[path] = std::move(reply);
}

std::vector<std::string> TLoopbackHttpServer::Requests() {
  std::lock_guard<std::mutex> guard(lock_);
  return requests_;
}

void TLoopbackHttpServer::Serve() {
  while (!stop_) {
    SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) break;
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
      int got = recv(client, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      request.append(buffer, static_cast<size_t>(got));
    }
    size_t start = request.find(' ') + 1, end = request.find(' ', start);
    std::string path = request.substr(start, end - start);
    Reply reply{404, "not here", ""};
    {
      std::lock_guard<std::mutex> guard(lock_);
      requests_.push_back(path);
      auto it = replies_.find(path);
      if (it != replies_.end()) reply = it->second;
    }
    std::string head = "HTTP/1.0 " + std::to_string(reply.Status) + " Answer\r\nContent-Length: " +
                       std::to_string(reply.Body.size()) + "\r\nConnection: close\r\n" + reply.ExtraHeaders + "\r\n";
    const std::string whole = reply.Raw.empty() ? head + reply.Body : reply.Raw;
    const size_t piece = reply.PieceBytes ? reply.PieceBytes : whole.size();
    for (size_t sent = 0; sent < whole.size();) {
      if (sent > 0 && sent % piece == 0 && reply.BeforePiece) reply.BeforePiece();
      size_t end = std::min(whole.size(), (sent / piece + 1) * piece);
      int n = send(client, whole.data() + sent, static_cast<int>(end - sent), 0);
      if (n <= 0) break;
      sent += static_cast<size_t>(n);
    }
    shutdown(client, SD_SEND);
    closesocket(client);
  }
}
