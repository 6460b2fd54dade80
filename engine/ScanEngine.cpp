#include "engine/ScanEngine.h"

#include <dbt.h>

#include "engine/Debug.h"
#include "engine/MessagePacer.h"
#include "engine/SystemInformation.h"
#include "engine/Utils.h"
#include "engine/intDorvane.h"
#include "framework/core/seams.h"
#include "framework/core/thread.h"
#include "framework/gui/application.h"
#include "framework/gui/forms.h"
#include "framework/gui/wndproc.h"

TSEPlatform TSEPlatform::FromVersion(const OSVERSIONINFOA& version) {
  TSEPlatform platform;
  platform.VersionCode = WindowsVersionCodeOf(version.dwPlatformId, version.dwMajorVersion,
                                              version.dwMinorVersion, version.szCSDVersion);
  platform.IsNT = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  platform.Fat32Capable9x =
      version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS &&
      ((version.dwMajorVersion >= 4 && version.dwMinorVersion > 0) ||
       (version.dwMajorVersion == 4 && version.dwMinorVersion == 0 && Trim(version.szCSDVersion) == "B"));
  return platform;
}

TSEPlatform TSEPlatform::OfSystem() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!SystemSeam().GetVersion(version)) return TSEPlatform{};
  return FromVersion(version);
}

TScanEngine::TScanEngine(TCustomForm* owner) {
  const uint8_t version = GetWindowsVersionCode();
  if (version == 1 || version == 5) throw Exception("This program does not support Windows 95 or Windows NT");
  OwnerForm = owner;
  OwnerHandle = owner->Handle();
  SystemInformation = std::make_unique<TSESystemInformation>();
  if (!LoadDorvaneLibrary()) {
    WriteErrorLog("Could Not InitialiseLibrary");
    throw Exception("Could not initialise the DORVANE.DLL. make sure the file is not corrupted");
  }
  if (DebugMode && intDorvane::TurnDebugOn) intDorvane::TurnDebugOn();
  SetUpPlatform(TSEPlatform::OfSystem());
  SetErrorMode(SEM_FAILCRITICALERRORS);
  if (intDorvane::SetDestinationDIR) intDorvane::SetDestinationDIR(DestinationFolder.c_str());
  RetryCount = 3;
  Paused = false;
  OnProgress.Clear();
  HookOwnerWindow(OwnerHandle);
}

TScanEngine::TScanEngine(const TSEPlatform& platform) { SetUpPlatform(platform); }

void TScanEngine::SetUpPlatform(const TSEPlatform& platform) {
  volumes_ = platform.Volumes ? platform.Volumes : &TVolumeCalls::System();
  vxd_ = platform.Vxd ? platform.Vxd : &TVxdCalls::System();
  FATReader = std::make_unique<TSEFAT>(this);
  UseVxd = true;
  IsNT = platform.IsNT;
  Fat32Capable9x = platform.Fat32Capable9x;
  WindowsVersion = platform.VersionCode;
  if (WindowsVersion >= 2 && WindowsVersion <= 4) {
    VxdHandle.Reset(vxd_, vxd_->Open());
    if (!VxdHandle.Valid()) {
      LastError = GetLastError();
      MessageBoxSeam().Show(nullptr, "Error loading \"VWIN32.VXD (INT25/26)\"", "Error", MB_OK | MB_ICONEXCLAMATION);
      throw Exception("Error loading Virtual Driver VWIN32.VXD (ErrorCode : " + IntToStr(LastError));
    }
  }
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  ProgramFolder = path;
  ProgramFolder.erase(ProgramFolder.find_last_of("\\:") + 1);
}

TScanEngine::~TScanEngine() {
  UnhookOwnerWindow();
  OwnerForm = nullptr;
  OwnerHandle = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));
  SystemInformation.reset();
  CurrentDrive = nullptr;
  OnProgress.Clear();
  OnReadError.Clear();
  OnDiscArrive.Clear();
  OnDiscRemoval.Clear();
  OnRestoreSectorCount.Clear();
  FATReader->Engine = nullptr;
  CurrentType = nullptr;
}

uint32_t TScanEngine::TakeLastError() {
  const uint32_t error = LastError;
  LastError = 0;
  return error;
}

bool TScanEngine::SleepWhilePaused(uint32_t Interval, bool abortEnds) {
  const auto ended = [&] { return StopRequested || (abortEnds && Aborted); };
  while (Paused && !ended()) {
    Clock().Sleep(Interval);
    ProcessMessages();
  }
  return ended();
}

bool TScanEngine::WaitWhilePaused(uint32_t Interval) { return SleepWhilePaused(Interval, true); }

bool TScanEngine::WaitWhilePausedUntilCancel(uint32_t Interval) { return SleepWhilePaused(Interval, false); }

bool TScanEngine::CheckStop() {
  ProcessMessages();
  return WaitWhilePaused(750);
}

void TScanEngine::HookOwnerWindow(HWND window) {
  ownerHook_ = std::make_unique<TWindowSubclass>(
      window, [this](TWindowSubclass& hook, TMessage& message) { OwnerWindowProc(hook, message); });
}

void TScanEngine::UnhookOwnerWindow() { ownerHook_.reset(); }

String TScanEngine::UnitMaskToDriveLetter(uint32_t mask) {
  for (int unit = 0; unit < 26; ++unit)
    if (mask & (1u << unit)) return String(1, static_cast<char>('A' + unit));
  return "";
}

void TScanEngine::OwnerWindowProc(TWindowSubclass& hook, TMessage& message) {
  if (!Busy && message.Msg == WM_DEVICECHANGE && message.LParam != 0 &&
      (message.WParam == DBT_DEVICEARRIVAL || message.WParam == DBT_DEVICEREMOVECOMPLETE)) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(message.LParam);
    if (header->dbch_devicetype == DBT_DEVTYP_VOLUME) {
      const String drive =
          UnitMaskToDriveLetter(reinterpret_cast<const DEV_BROADCAST_VOLUME*>(message.LParam)->dbcv_unitmask);
      // A broadcast without any unit names no drive to tell about.
      if (!drive.empty()) {
        if (message.WParam == DBT_DEVICEARRIVAL)
          OnDiscArrive(this, drive);
        else
          OnDiscRemoval(this, drive);
      }
    }
  }
  hook.CallPrevious(message);
}

namespace {

TMessagePacer& Pacer() {
  static TMessagePacer pacer;
  return pacer;
}

}  // namespace

void TScanEngine::RestartMessagePacing() { Pacer().Restart(); }

void TScanEngine::ProcessMessages() {
  if (Application) {
    Pacer().Pump();
    return;
  }
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}
