// String lists: the abstract TStrings that list boxes and memos back with window
// messages, and TStringList that keeps its lines in memory.
#pragma once

#include <functional>
#include <vector>

#include "framework/core/classes.h"
#include "framework/core/delegate.h"
#include "framework/core/streams.h"
#include "framework/core/sysutils.h"

class TStrings : public TPersistent {
 public:
  TStrings() = default;
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;

  // What a derived list provides.
  virtual int Count() const = 0;
  virtual String Strings(int index) const = 0;
  virtual void Insert(int index, const String& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  // Lists that keep no objects report none and ignore them.
  virtual void SetStrings(int index, const String& s);
  virtual TObject* Objects(int index) const;
  virtual void SetObjects(int index, TObject* object);

  virtual int Add(const String& s);
  virtual int AddObject(const String& s, TObject* object);
  virtual void InsertObject(int index, const String& s, TObject* object);
  virtual void Move(int from, int to);
  virtual void Exchange(int a, int b);
  // From another string list: its lines and objects; anything else as TPersistent.
  void Assign(TPersistent* source) override;
  void Assign(const TStrings& source);
  void AddStrings(const TStrings& source);

  virtual int IndexOf(const String& s) const;
  int IndexOfObject(const TObject* object) const;

  // name=value lines: the name is the text before the first '=', matched
  // without regard to ASCII case.
  int IndexOfName(const String& name) const;
  String Names(int index) const;
  String Values(const String& name) const;
  void SetValues(const String& name, const String& value);  // an empty value deletes the line
  String ValueFromIndex(int index) const;

  // Every line followed by CR LF; setting splits as LoadFromStream does.
  String Text() const;
  virtual void SetText(const String& text);

  // The rest of the stream: CR LF, lone CR and lone LF each end a line.
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const String& fileName);
  void SaveToStream(TStream& stream) const;
  void SaveToFile(const String& fileName) const;

  void BeginUpdate();
  void EndUpdate();

 protected:
  int UpdateCount() const { return updateCount_; }
  // Called when the update count leaves and returns to 0.
  virtual void SetUpdateState(bool /*updating*/) {}
  // Line comparison used by IndexOf: ASCII case-insensitive by default.
  virtual int CompareStrings(const String& a, const String& b) const;

 private:
  int updateCount_ = 0;
};

// BeginUpdate for the life of a block, EndUpdate however the block is left.
class TStringsUpdate {
 public:
  explicit TStringsUpdate(TStrings& strings) : strings_(strings) { strings_.BeginUpdate(); }
  ~TStringsUpdate() { strings_.EndUpdate(); }
  TStringsUpdate(const TStringsUpdate&) = delete;
  TStringsUpdate& operator=(const TStringsUpdate&) = delete;

 private:
  TStrings& strings_;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
// < 0, 0 or > 0 as the item at index1 sorts before, with or after the one at index2.
using TStringListSortCompare = std::function<int(TStringList& list, int index1, int index2)>;

class TStringList : public TStrings {
 public:
  int Count() const override { return static_cast<int>(items_.size()); }
  String Strings(int index) const override;
  void SetStrings(int index, const String& s) override;
  TObject* Objects(int index) const override;
  void SetObjects(int index, TObject* object) override;

  int Add(const String& s) override;
  int AddObject(const String& s, TObject* object) override;
  void Insert(int index, const String& s) override;
  void InsertObject(int index, const String& s, TObject* object) override;
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int a, int b) override;
  int IndexOf(const String& s) const override;

  // On a sorted list: the index of the first match, or where s would go.
  bool Find(const String& s, int& index) const;
  // Both leave a Sorted list as it is.
  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& compare);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool caseSensitive);
  TDuplicates Duplicates = dupIgnore;

  TNotifyEvent OnChange;

 protected:
  void SetUpdateState(bool updating) override;
  int CompareStrings(const String& a, const String& b) const override;

 private:
  struct Item {
    String text;
    TObject* object = nullptr;
  };
  void Check(int index) const;
  void Changed();
  void InsertItem(int index, const String& s, TObject* object);
  void SortBy(const TStringListSortCompare& compare);
  static int DefaultOrder(TStringList& list, int a, int b);

  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
};
