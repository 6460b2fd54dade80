// The main window made for a test as start-up makes it: frmMain with its engine,
// skin and message box. Message boxes are answered from `messages` (none shown),
// the splash's sleep is recorded, the documents folder and the output folder are
// folders of the test's own, and the program's registry values are put back.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/AllForms.h"
#include "app/SEresource.h"
#include "engine/Utils.h"
#include "framework/core/registry.h"
#include "framework/core/seams.h"
#include "framework/gui/application.h"
#include "framework/testsupport/scratch_dir.h"
#include "framework/testsupport/testapp.h"
#include "skin/dialogs/ksMessages.h"

namespace apptest {

inline constexpr const char* kProgramKey = "Software\\Brellin\\Korvalo 3";

// A string value of the program's key, put back (or deleted) when this goes.
class TSavedRegistryValue {
 public:
  explicit TSavedRegistryValue(std::string name) : name_(std::move(name)) {
    TRegistry registry;
    registry.SetRootKey(HKEY_CURRENT_USER);
    if (registry.OpenKey(kProgramKey, true) && registry.ValueExists(name_)) {
      existed_ = true;
      value_ = registry.ReadString(name_);
    }
  }
  ~TSavedRegistryValue() {
    TRegistry registry;
    registry.SetRootKey(HKEY_CURRENT_USER);
    if (!registry.OpenKey(kProgramKey, true)) return;
    if (existed_)
      registry.WriteString(name_, value_);
    else
      registry.DeleteValue(name_);
  }
  static void Set(const std::string& name, const std::string* value) {
    TRegistry registry;
    registry.SetRootKey(HKEY_CURRENT_USER);
    if (!registry.OpenKey(kProgramKey, true)) return;
    if (value)
      registry.WriteString(name, *value);
    else
      registry.DeleteValue(name);
  }
  TSavedRegistryValue(const TSavedRegistryValue&) = delete;
  TSavedRegistryValue& operator=(const TSavedRegistryValue&) = delete;

 private:
  std::string name_;
  bool existed_ = false;
  std::string value_;
};

// A fresh folder under the temporary folder, removed with everything in it.
class TTestFolder {
 public:
  explicit TTestFolder(const std::string& name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + name + "\\";
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~TTestFolder() { RemoveTree(path_); }
  TTestFolder(const TTestFolder&) = delete;
  TTestFolder& operator=(const TTestFolder&) = delete;
  const std::string& Path() const { return path_; }  // with a trailing backslash

 private:
  std::string path_;
};

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    CreateDirectoryA(documents.c_str(), nullptr);
    TSavedRegistryValue::Set("RecoveryFolder", storeOutputFolder ? &output : nullptr);
    SplashShown = false;
    frmMain = Construct<TfrmMain>(Application);
    ASSERT_FALSE(frmMain->CreateFailed);
  }
  void TearDown() override {
    FreeAndNil(frmMain);  // frees the splash, recovery, file types, browser and burning forms
    FreeAndNil(frmSplash);
    FreeAndNil(frmSelectTypes);
    FreeAndNil(frmSecureErase);
    FreeAndNil(frmBurn);
    FreeAndNil(frmRecovery);
    FreeAndNil(frmFeedback);
    FreeAndNil(frmOutputDIR);
    FreeAndNil(frmBrowse);
    FreeAndNil(frmGenericWait);
    FreeAndNil(frmBackup);
    FreeAndNil(frmRestore);
    FreeStateChangeList();
  }

  // The other eleven forms, made after frmMain as start-up makes them.
  static void CreateOtherForms() {
    frmSplash = Construct<TfrmSplash>(Application);
    frmSelectTypes = Construct<TfrmSelectTypes>(Application);
    frmSecureErase = Construct<TfrmSecureErase>(Application);
    frmBurn = Construct<TfrmBurn>(Application);
    frmRecovery = Construct<TfrmRecovery>(Application);
    frmFeedback = Construct<TfrmFeedback>(Application);
    frmOutputDIR = Construct<TfrmOutputDIR>(Application);
    frmBrowse = Construct<TfrmBrowse>(Application);
    frmGenericWait = Construct<TfrmGenericWait>(Application);
    frmBackup = Construct<TfrmBackup>(Application);
    frmRestore = Construct<TfrmRestore>(Application);
  }

  // Answers and records every message box.
  TksScriptedMessages messages;
  // Every sleep of the GUI thread, recorded instead of slept.
  std::vector<DWORD> sleeps;
  ScopedSeam<TClockSeam> clock{{.Sleep = [this](DWORD ms) { sleeps.push_back(ms); }}};
  TSavedRegistryValue savedOutput{"RecoveryFolder"};
  // One per test: the correction library repairs saved pictures in threads of its own,
  // which may write a file of a test's deep scan after that test has ended.
  TTestFolder folder{std::string("kv_mainform_") + ::testing::UnitTest::GetInstance()->current_test_info()->name()};
  const std::string documents = folder.Path() + "Documents";
  // The output folder stored before frmMain is made; a test clears storeOutputFolder
  // in its constructor to start as on a first run.
  const std::string output = folder.Path() + "Recovered\\";
  bool storeOutputFolder = true;
  ScopedSeam<TSystemSeam> documentsSeam{{.ShellFolderPath = [this](int, std::string& path) {
    path = documents;
    return true;
  }}};
};

}  // namespace apptest
