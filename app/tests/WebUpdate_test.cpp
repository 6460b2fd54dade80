#include "app/WebUpdate.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// An engine that records what the component asks of it.
struct TRecordingEngine : TNetUpdateEngine {
  std::vector<String>* calls;
  explicit TRecordingEngine(std::vector<String>* c) : calls(c) {}
  void LoadConfiguration(const String& f) override {
    calls->push_back("load " + f);
    Name = "Stored name";
    Port = 8080;
    Hangup = true;
    WebURL = "http://127.0.0.1/";
  }
  void Save() override { calls->push_back("save " + Name + " " + Version + " " + IntToStr(Port)); }
  bool CheckNewVersion() override {
    calls->push_back("check");
    return true;
  }
  void LaunchEngine(const String& a) override {
    calls->push_back("launch " + a + (AutomaticQuestion ? " asking" : " silent"));
  }
};

struct TEngineScope {
  explicit TEngineScope(std::vector<String>* calls) {
    SetNetUpdateEngineMaker([calls] { return std::make_unique<TRecordingEngine>(calls); });
  }
  ~TEngineScope() { SetNetUpdateEngineMaker(nullptr); }
};

}  // namespace

TEST(WebUpdate, CopiesTheEngineSettingsBothWays) {
  std::vector<String> calls;
  TEngineScope scope(&calls);
  TWebUpdate update(nullptr);
  update.Load("C:\\Korvalo\\webupdate.xml");
  EXPECT_EQ(update.AppName, "Stored name");
  EXPECT_EQ(update.Port, 8080);
  EXPECT_TRUE(update.Hangup);
  EXPECT_EQ(update.WebURL, "http://127.0.0.1/");

  update.AppName = "Korvalo 3";
  update.Version = "3.0";
  update.Port = 80;
  update.Save();
  EXPECT_TRUE(update.CheckNewVersion());
  update.AutomaticQuestion = true;
  update.Launch("/update");
  EXPECT_EQ(calls, (std::vector<String>{"load C:\\Korvalo\\webupdate.xml", "save Korvalo 3 3.0 80", "check",
                                        "launch /update asking"}));
  EXPECT_THROW(update.CheckNewVersion(), EUpdateEngineError) << "the engine is let go after the launch";
}

TEST(WebUpdate, AnEngineThatCannotBeMadeRaisesFromLoad) {
  SetNetUpdateEngineMaker([]() -> std::unique_ptr<TNetUpdateEngine> { throw EUpdateEngineError("none"); });
  TWebUpdate update(nullptr);
  EXPECT_THROW(update.Load("webupdate.xml"), EUpdateEngineError);
  EXPECT_THROW(update.Save(), EUpdateEngineError);
  SetNetUpdateEngineMaker(nullptr);
}
