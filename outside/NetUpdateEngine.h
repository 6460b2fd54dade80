// Our stand-in for the outside update engine: the members the program's update
// component uses, under their names. It asks the update site for "update.ini"
// ([Update] Version=..., File=...) and, when launched, downloads File into the
// installation's "Update\" folder; it runs nothing. Only a site on this machine is
// ever contacted. Its settings live in "webupdate.xml".
#pragma once

#include <functional>
#include <memory>

#include "framework/core/streams.h"
#include "framework/core/strings.h"
#include "framework/core/sysutils.h"
#include "outside/HttpGet.h"

class EUpdateEngineError : public Exception {
 public:
  using Exception::Exception;
};

class TNetUpdateEngine {
 public:
  virtual ~TNetUpdateEngine() = default;

  // A missing file leaves the defaults.
  virtual void LoadConfiguration(const String& fileName);
  // Writes every setting back to the loaded file.
  virtual void Save();
  // True when the site offers a version above Version.
  virtual bool CheckNewVersion();
  // Downloads the offered file; `argument` is what the program passes on launch.
  virtual void LaunchEngine(const String& argument);

  bool AutomaticQuestion = false;
  bool Unload = false;
  bool Hangup = false;
  bool DownloadOnly = false;
  bool Restart = false;
  int ProxyPort = 0;
  int Port = 0;
  String LastUpdate, ProxyPassword, Password, ProxyName, InternetSite, Run, CompanyName, Installation, Version,
      Language, ProxyUserId, Name, UserId, WebURL;

  // The outside engine works while its caller goes on; ours waits for the update site
  // on the caller's thread and calls this during every wait of the check and the
  // download, where the program keeps its windows alive.
  THttpWaiting OnWait;

 protected:
  // Writes the whole download into the open file; raises when it cannot (a full disk).
  virtual void WriteDownload(TStream& file, const String& body);

 private:
  String Fetch(const String& name, const THttpLimits& limits) const;
  String SaveDownload(const String& target, const String& body);

  String fileName_;
};

// Makes the engine as creating the outside object would; it raises when the engine
// cannot be made. Tests replace the maker (an empty one restores ours).
std::unique_ptr<TNetUpdateEngine> CreateNetUpdateEngine();
using TNetUpdateEngineMaker = std::function<std::unique_ptr<TNetUpdateEngine>()>;
void SetNetUpdateEngineMaker(TNetUpdateEngineMaker maker);

// Dotted versions compared number by number ("3.10" is above "3.9"); raises on
// anything that is not such a version.
int CompareVersions(const String& a, const String& b);

// A file name the engine may save: letters, digits, '.', '-' and '_' only, no "..",
// and no device name.
bool IsPlainFileName(const String& name);
