#include "app/WebUpdate.h"

namespace {

// The settings both sides hold, in the order they are copied.
template <class Engine, class Component, class Copy>
void CopySettings(Engine& e, Component& c, Copy copy) {
  copy(e.Unload, c.Unload);
  copy(e.Hangup, c.Hangup);
  copy(e.DownloadOnly, c.DownloadOnly);
  copy(e.Restart, c.Restart);
  copy(e.ProxyPort, c.ProxyPort);
  copy(e.Port, c.Port);
  copy(e.LastUpdate, c.LastUpdate);
  copy(e.ProxyPassword, c.ProxyPassword);
  copy(e.Password, c.Password);
  copy(e.ProxyName, c.ProxyName);
  copy(e.InternetSite, c.InternetSite);
  copy(e.Run, c.Run);
  copy(e.CompanyName, c.CompanyName);
  copy(e.Installation, c.Installation);
  copy(e.Version, c.Version);
  copy(e.Language, c.Language);
  copy(e.ProxyUserId, c.ProxyUserId);
  copy(e.Name, c.AppName);
  copy(e.UserId, c.UserId);
  copy(e.WebURL, c.WebURL);
}

}  // namespace

TWebUpdate::TWebUpdate(TComponent* AOwner) : TComponent(AOwner) {}

TWebUpdate::~TWebUpdate() = default;

TNetUpdateEngine& TWebUpdate::Engine() {
  if (!engine_) throw EUpdateEngineError("The update engine is not loaded");
  return *engine_;
}

void TWebUpdate::Load(const String& fileName) {
  engine_.reset();
  engine_ = CreateNetUpdateEngine();
  engine_->LoadConfiguration(fileName);
  CopySettings(*engine_, *this, [](const auto& from, auto& to) { to = from; });
}

void TWebUpdate::Save() {
  CopySettings(Engine(), *this, [](auto& to, const auto& from) { to = from; });
  Engine().Save();
}

bool TWebUpdate::CheckNewVersion() {
  Engine().OnWait = OnWait;
  return Engine().CheckNewVersion();
}

void TWebUpdate::Launch(const String& argument) {
  Engine().AutomaticQuestion = AutomaticQuestion;
  Engine().OnWait = OnWait;
  Engine().LaunchEngine(argument);
  engine_.reset();
}
