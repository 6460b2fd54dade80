// One pass over a description's keys, in writing order, either reading them from
// a section or writing them to it: each description lists its keys once.
#pragma once

#include "framework/core/inifiles.h"
#include "skin/draw/ksUtils.h"

// Caption-button and animation commands; any unknown word reads as the last.
enum TksStdButtonCommand : uint8_t {
  cmClose,
  cmMaximize,
  cmMinimize,
  cmSysMenu,
  cmDefault,
  cmRollUp,
  cmMinimizeToTray
};

class TksFieldVisitor {
 public:
  virtual ~TksFieldVisitor() = default;
  virtual void Rect(const char* key, TRect& field) = 0;
  virtual void Point(const char* key, TPoint& field) = 0;
  // Integers, colours and picture indexes: the default applies to a missing key
  // and to text that is not a number.
  virtual void Integer(const char* key, int& field, int missing) = 0;
  virtual void FontHeight(const char* key, int& field, int missing) = 0;
  virtual void Boolean(const char* key, bool& field) = 0;
  virtual void Text(const char* key, String& field, const char* missing) = 0;
  virtual void FontStyles(const char* key, TFontStyles& field) = 0;
  virtual void Alignment(const char* key, TAlignment& field) = 0;
  virtual void MorphKind(const char* key, TksMorphKind& field) = 0;
  virtual void Command(const char* key, TksStdButtonCommand& field) = 0;

  void Font(const String& prefix, String& name, int& height, TFontStyles& style, TColor& color) {
    Text((prefix + "fontname").c_str(), name, "Arial");
    FontHeight((prefix + "fontheight").c_str(), height, 14);
    FontStyles((prefix + "fontstyle").c_str(), style);
    Integer((prefix + "fontcolor").c_str(), color, 0);
  }
};

class TksFieldReader : public TksFieldVisitor {
 public:
  TksFieldReader(TCustomIniFile& ini, const String& section) : ini_(ini), section_(section) {}
  void Rect(const char* key, TRect& field) override { field = ReadRect(ini_, section_, key); }
  void Point(const char* key, TPoint& field) override { field = ReadPoint(ini_, section_, key); }
  void Integer(const char* key, int& field, int missing) override {
    field = ini_.ReadInteger(section_, key, missing);
  }
  void FontHeight(const char* key, int& field, int missing) override {
    field = ReadFontHeight(ini_, section_, key, missing);
  }
  void Boolean(const char* key, bool& field) override { field = ReadBoolean(ini_, section_, key); }
  void Text(const char* key, String& field, const char* missing) override {
    field = ini_.ReadString(section_, key, missing);
  }
  void FontStyles(const char* key, TFontStyles& field) override { field = ReadFontStyles(ini_, section_, key); }
  void Alignment(const char* key, TAlignment& field) override { field = ReadAlignment(ini_, section_, key); }
  void MorphKind(const char* key, TksMorphKind& field) override { field = ReadMorphKind(ini_, section_, key); }
  void Command(const char* key, TksStdButtonCommand& field) override;

 private:
  TCustomIniFile& ini_;
  String section_;
};

class TksFieldWriter : public TksFieldVisitor {
 public:
  TksFieldWriter(TCustomIniFile& ini, const String& section) : ini_(ini), section_(section) {}
  void Rect(const char* key, TRect& field) override { WriteRect(ini_, section_, key, field); }
  void Point(const char* key, TPoint& field) override { WritePoint(ini_, section_, key, field); }
  void Integer(const char* key, int& field, int) override { ini_.WriteInteger(section_, key, field); }
  void FontHeight(const char* key, int& field, int) override { ini_.WriteInteger(section_, key, field); }
  void Boolean(const char* key, bool& field) override { WriteBoolean(ini_, section_, key, field); }
  void Text(const char* key, String& field, const char*) override { ini_.WriteString(section_, key, field); }
  void FontStyles(const char* key, TFontStyles& field) override { WriteFontStyles(ini_, section_, key, field); }
  void Alignment(const char* key, TAlignment& field) override { WriteAlignment(ini_, section_, key, field); }
  void MorphKind(const char* key, TksMorphKind& field) override { WriteMorphKind(ini_, section_, key, field); }
  void Command(const char* key, TksStdButtonCommand& field) override;

 private:
  TCustomIniFile& ini_;
  String section_;
};

// A level of the description family: visiting runs the base's keys first, then this
// level's own (Self::Fields). Loading, saving and checking a description are visits.
template <class Self, class Base>
class TksDataLevel : public Base {
 public:
  using Base::Base;
  void VisitFields(TksFieldVisitor& v) override {
    Base::VisitFields(v);
    static_cast<Self*>(this)->Fields(v);
  }
};

// A description kept in the ini section its IDName names: reading and writing it are
// visits of its keys, which each description lists once (VisitFields).
class TksDataSection : public TObject {
 public:
  explicit TksDataSection(const String& idName) : IDName(idName) {}

  virtual void LoadFromFile(TCustomIniFile& ini) {
    TksFieldReader reader(ini, IDName);
    VisitFields(reader);
  }
  // Replaces the section by exactly the keys LoadFromFile reads.
  virtual void SaveToFile(TCustomIniFile& ini) {
    ini.EraseSection(IDName);
    TksFieldWriter writer(ini, IDName);
    VisitFields(writer);
  }
  // Every key of the description, in writing order.
  virtual void VisitFields(TksFieldVisitor& v) = 0;

  String IDName;
};
