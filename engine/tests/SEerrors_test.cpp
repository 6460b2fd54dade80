#include "engine/SEerrors.h"

#include <gtest/gtest.h>

namespace {

TEST(Win32ErrorNames, NamedCodes) {
  const struct {
    int32_t code;
    const char* name;
  } cases[] = {
      {0, "SUCCESS"},
      {1, "ERROR_INVALID_FUNCTION"},
      {15, "ERROR_INVALID_DRIVE"},
      {21, "ERROR_NOT_READY"},
      {23, "ERROR_CRC"},
      {27, "ERROR_SECTOR_NOT_FOUND"},
      {87, "ERROR_INVALID_PARAMETER"},
      {1117, "ERROR_IO_DEVICE"},
      {4006, "ERROR_RPL_NOT_ALLOWED"},
      {1700, "RPC_S_INVALID_STRING_BINDING"},
      {10004, "WSAEINTR"},
      {10091, "WSASYSNOTREADY"},
      {10092, "WSAVERNOTSUPPORTED"},
      {10093, "WSANOTINITIALISED"},
      {10101, "WSAEDISCON"},
      {11001, "WSAHOST_NOT_FOUND"},
      {11002, "WSATRY_AGAIN"},
      {11003, "WSANO_RECOVERY"},
      {11004, "WSANO_DATA"},
  };
  for (const auto& c : cases) EXPECT_EQ(GetWin32ErrorName(c.code), c.name) << c.code;
}

TEST(Win32ErrorNames, CodesWithoutANameGiveTheNumber) {
  for (const int32_t code : {-1, -2147483647 - 1, 5000, 99999, 10102, 11005}) {
    EXPECT_EQ(GetWin32ErrorName(code), "error number has no description " + std::to_string(code));
  }
}

}  // namespace
