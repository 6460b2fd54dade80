// Registry access: one open key under a root key at a time.
#pragma once

#include <windows.h>

#include "framework/core/classes.h"
#include "framework/core/handles.h"
#include "framework/core/sysutils.h"

class TRegistry : public TObject {
 public:
  TRegistry() = default;
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return rootKey_; }
  void SetRootKey(HKEY rootKey);  // closes the open key
  HKEY CurrentKey() const { return currentKey_.get(); }
  const String& CurrentPath() const { return currentPath_; }

  // A key starting with '\' is taken from the root, any other from the open key
  // (or the root when none is open).
  bool OpenKey(const String& key, bool canCreate);
  bool OpenKeyReadOnly(const String& key);
  void CloseKey();
  bool KeyExists(const String& key);

  bool ValueExists(const String& name);
  // An absent value reads as ""; a value of a non-string type raises.
  String ReadString(const String& name);
  void WriteString(const String& name, const String& value);  // REG_SZ
  int ReadInteger(const String& name);                         // REG_DWORD
  void WriteInteger(const String& name, int value);
  bool ReadBool(const String& name);
  bool DeleteValue(const String& name);

 private:
  bool Open(const String& key, REGSAM access, bool canCreate);

  HKEY rootKey_ = HKEY_CURRENT_USER;
  RegKey currentKey_;
  String currentPath_;
};
