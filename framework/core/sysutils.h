// Exceptions of the class framework.
#pragma once

#include <exception>
#include <string>

using String = std::string;

class Exception : public std::exception {
 public:
  explicit Exception(String message) : Message(std::move(message)) {}
  const char* what() const noexcept override { return Message.c_str(); }

  String Message;
};

class EListError : public Exception {
 public:
  using Exception::Exception;
};
