// TWebUpdate: the main window's wrapper of the outside update engine. Its properties
// are copies of the engine's; Load takes them from the engine, Save gives them back.
#pragma once

#include <memory>

#include "framework/core/classes.h"
#include "outside/NetUpdateEngine.h"

class TWebUpdate : public TComponent {
 public:
  explicit TWebUpdate(TComponent* AOwner);
  ~TWebUpdate() override;

  // Makes a new engine, loads the configuration file and copies its settings.
  void Load(const String& fileName);
  // Copies the settings to the engine and has it store them.
  void Save();
  bool CheckNewVersion();
  // Hands over to the engine and lets it go.
  void Launch(const String& argument);

  String AppName, CompanyName, InternetSite, Version, LastUpdate, Language, Installation, Run, UserId, Password,
      ProxyName, ProxyUserId, ProxyPassword, WebURL;
  int Port = 0;
  int ProxyPort = 0;
  bool Unload = false;
  bool Restart = false;
  bool DownloadOnly = false;
  bool Hangup = false;
  // Given to the engine only when it is launched.
  bool AutomaticQuestion = false;
  // Given to the engine for its check and its launch: runs during each of their waits.
  THttpWaiting OnWait;

 private:
  TNetUpdateEngine& Engine();

  std::unique_ptr<TNetUpdateEngine> engine_;
};
