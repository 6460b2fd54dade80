#include "outside/NetUpdateEngine.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include "framework/core/datetime.h"
#include "framework/core/fileutils.h"
#include "framework/core/inifiles.h"
#include "framework/core/strings.h"
#include "outside/HttpGet.h"

namespace {

// Each has its whole answer within its deadline: update.ini in 30 s, the download
// in 30 s and one more for every 16 KiB that arrives.
constexpr THttpLimits kOffer{64 * 1024, 30000, 0};
constexpr THttpLimits kDownload{16 * 1024 * 1024, 30000, 16 * 1024};

TNetUpdateEngineMaker& Maker() {
  static TNetUpdateEngineMaker maker;
  return maker;
}

[[noreturn]] void Fail(const String& text) { throw EUpdateEngineError(text); }

// "http://host[:port]/path/" split into its parts; only this machine is allowed.
struct TSite {
  String Host;
  int Port = 80;
  String Path;
};

TSite ParseSite(const String& url, int defaultPort) {
  const String scheme = "http://";
  if (url.compare(0, scheme.size(), scheme) != 0) Fail("The update site is not an http address: " + url);
  String rest = url.substr(scheme.size());
  size_t slash = rest.find('/');
  String hostPort = rest.substr(0, slash);
  TSite site;
  site.Path = slash == String::npos ? "/" : rest.substr(slash);
  if (site.Path.back() != '/') site.Path += '/';
  size_t colon = hostPort.find(':');
  site.Host = hostPort.substr(0, colon);
  site.Port = defaultPort > 0 ? defaultPort : 80;
  if (colon != String::npos) site.Port = StrToIntDef(hostPort.substr(colon + 1), -1);
  if (site.Port <= 0 || site.Port > 65535) Fail("The update site's port is not valid: " + url);
  String host = LowerCase(site.Host);
  if (host != "127.0.0.1" && host != "localhost") Fail("The update site is not on this machine: " + url);
  return site;
}

String XmlEscape(const String& s) {
  String out;
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

String XmlUnescape(const String& s) {
  static const std::pair<const char*, char> entities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  String out;
  for (size_t i = 0; i < s.size();) {
    bool replaced = false;
    for (const auto& [text, c] : entities) {
      size_t n = std::char_traits<char>::length(text);
      if (s.compare(i, n, text) == 0) {
        out += c;
        i += n;
        replaced = true;
        break;
      }
    }
    if (!replaced) out += s[i++];
  }
  return out;
}

// The settings in file order, each a name and a reference into the engine.
struct TSetting {
  const char* Name;
  String* Text = nullptr;
  int* Number = nullptr;
  bool* Flag = nullptr;
};

std::vector<TSetting> Settings(TNetUpdateEngine& e) {
  return {{"Unload", nullptr, nullptr, &e.Unload},
          {"Hangup", nullptr, nullptr, &e.Hangup},
          {"DownloadOnly", nullptr, nullptr, &e.DownloadOnly},
          {"Restart", nullptr, nullptr, &e.Restart},
          {"ProxyPort", nullptr, &e.ProxyPort},
          {"Port", nullptr, &e.Port},
          {"LastUpdate", &e.LastUpdate},
          {"ProxyPassword", &e.ProxyPassword},
          {"Password", &e.Password},
          {"ProxyName", &e.ProxyName},
          {"InternetSite", &e.InternetSite},
          {"Run", &e.Run},
          {"CompanyName", &e.CompanyName},
          {"Installation", &e.Installation},
          {"Version", &e.Version},
          {"Language", &e.Language},
          {"ProxyUserId", &e.ProxyUserId},
          {"Name", &e.Name},
          {"UserId", &e.UserId},
          {"WebURL", &e.WebURL}};
}

String ReadWholeFile(const String& fileName) {
  TStringList lines;
  lines.LoadFromFile(fileName);
  return lines.Text();
}

// [Update] Version and File of the site's update.ini.
std::pair<String, String> ParseOffer(const String& text) {
  TStringList lines;
  lines.SetText(text);
  TMemIniFile ini;
  ini.SetStrings(lines);
  String version = ini.ReadString("Update", "Version", "");
  String file = ini.ReadString("Update", "File", "");
  if (version.empty()) Fail("The update site gave no version");
  CompareVersions(version, version);  // raises on garbage
  return {version, file};
}

}  // namespace

int CompareVersions(const String& a, const String& b) {
  auto parts = [](const String& v) {
    std::vector<long> numbers;
    String part;
    for (size_t i = 0; i <= v.size(); ++i) {
      if (i == v.size() || v[i] == '.') {
        if (part.empty() || part.size() > 9) Fail("Not a version: " + v);
        numbers.push_back(std::stol(part));
        part.clear();
      } else if (std::isdigit(static_cast<unsigned char>(v[i]))) {
        part += v[i];
      } else {
        Fail("Not a version: " + v);
      }
    }
    return numbers;
  };
  auto x = parts(Trim(a)), y = parts(Trim(b));
  size_t n = std::max(x.size(), y.size());
  x.resize(n, 0);
  y.resize(n, 0);
  return x < y ? -1 : (x > y ? 1 : 0);
}

bool IsPlainFileName(const String& name) {
  if (name.empty() || name.size() > 100 || name.find("..") != String::npos || name[0] == '.') return false;
  bool plain = std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
  });
  return plain && !IsDeviceName(name);
}

void TNetUpdateEngine::LoadConfiguration(const String& fileName) {
  fileName_ = fileName;
  if (!FileExists(fileName)) return;
  String xml = ReadWholeFile(fileName);
  for (TSetting& s : Settings(*this)) {
    String open = String("<") + s.Name + ">", close = String("</") + s.Name + ">";
    size_t from = xml.find(open);
    if (from == String::npos) continue;
    from += open.size();
    size_t to = xml.find(close, from);
    if (to == String::npos) continue;
    String value = XmlUnescape(xml.substr(from, to - from));
    if (s.Text) *s.Text = value;
    if (s.Number) *s.Number = StrToIntDef(value, 0);
    if (s.Flag) *s.Flag = value == "1" || LowerCase(value) == "true";
  }
}

void TNetUpdateEngine::Save() {
  if (fileName_.empty()) Fail("No configuration was loaded");
  String xml = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<webupdate>\r\n";
  for (TSetting& s : Settings(*this)) {
    String value = s.Text ? *s.Text : s.Number ? IntToStr(*s.Number) : (*s.Flag ? "1" : "0");
    xml += String("  <") + s.Name + ">" + XmlEscape(value) + "</" + s.Name + ">\r\n";
  }
  xml += "</webupdate>\r\n";
  TStringList lines;
  lines.SetText(xml);
  lines.SaveToFile(fileName_);
}

String TNetUpdateEngine::Fetch(const String& name, const THttpLimits& limits) const {
  TSite site = ParseSite(InternetSite, Port);
  THttpAnswer answer;
  try {
    answer = HttpGet(site.Host, site.Port, site.Path + name, limits, OnWait);
  } catch (const EHttpError& e) {
    Fail(name + " could not be fetched from the update site: " + e.Message);
  }
  if (answer.Status != 200) Fail("The update site answered " + IntToStr(answer.Status) + " for " + name);
  if (answer.Body.empty()) Fail("The update site sent " + name + " empty");
  return answer.Body;
}

bool TNetUpdateEngine::CheckNewVersion() {
  auto [offered, file] = ParseOffer(Fetch("update.ini", kOffer));
  return CompareVersions(offered, Version) > 0;
}

void TNetUpdateEngine::LaunchEngine(const String& /*argument*/) {
  auto [offered, file] = ParseOffer(Fetch("update.ini", kOffer));
  if (!IsPlainFileName(file)) Fail("The update site offers an unsafe file name: " + file);
  if (Installation.empty()) Fail("No installation folder is set");
  String folder = IncludeTrailingBackslash(Installation) + "Update\\";
  String body = Fetch(file, kDownload);
  const bool folderExisted = DirectoryExists(folder);
  if (!ForceDirectories(folder)) Fail("The update folder cannot be made: " + folder);
  if (String failure = SaveDownload(folder + file, body); !failure.empty()) {
    if (!folderExisted) RemoveDir(folder);
    Fail("The update could not be saved as " + folder + file + ": " + failure);
  }
  LastUpdate = FormatDateTime("yyyy-mm-dd hh:nn:ss", Now());
  if (!fileName_.empty()) Save();
}

// The download goes to "<name>.part" and takes the name only once it is whole; an
// older file keeps its name until then. Whatever fails, the part goes; the reason, or
// nothing when the download has its name.
String TNetUpdateEngine::SaveDownload(const String& target, const String& body) {
  // Windows would refuse to replace these; Wine replaces a read-only file.
  if (const DWORD existing = GetFileAttributesA(target.c_str()); existing != INVALID_FILE_ATTRIBUTES) {
    if (existing & FILE_ATTRIBUTE_DIRECTORY) return "a folder has its name";
    if (existing & FILE_ATTRIBUTE_READONLY) return "a read-only file has its name";
  }
  const String partial = target + ".part";
  String failure;
  try {
    {
      TFileStream out(partial, fmCreate);
      WriteDownload(out, body);
    }
    if (MoveFileExA(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return "";
    failure = SysErrorMessage(GetLastError());
  } catch (const std::exception& e) {
    failure = e.what();
  }
  DeleteFile(partial);
  return failure.empty() ? String("unknown error") : failure;
}

void TNetUpdateEngine::WriteDownload(TStream& file, const String& body) {
  file.WriteBuffer(body.data(), static_cast<int>(body.size()));
}

std::unique_ptr<TNetUpdateEngine> CreateNetUpdateEngine() {
  if (Maker()) return Maker()();
  return std::make_unique<TNetUpdateEngine>();
}

void SetNetUpdateEngineMaker(TNetUpdateEngineMaker maker) { Maker() = std::move(maker); }
