#include "framework/core/strings.h"

#include <algorithm>
#include <numeric>

namespace {

std::vector<String> SplitLines(const String& text) {
  std::vector<String> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '\r' && c != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

String IndexError(int index) { return "List index out of bounds (" + IntToStr(index) + ")"; }

}  // namespace

// ---- TStrings

void TStrings::SetStrings(int index, const String& s) {
  TObject* object = Objects(index);
  TStringsUpdate update(*this);
  Delete(index);
  InsertObject(index, s, object);
}

TObject* TStrings::Objects(int /*index*/) const { return nullptr; }

void TStrings::SetObjects(int /*index*/, TObject* /*object*/) {}

int TStrings::Add(const String& s) {
  int index = Count();
  Insert(index, s);
  return index;
}

int TStrings::AddObject(const String& s, TObject* object) {
  int index = Add(s);
  SetObjects(index, object);
  return index;
}

void TStrings::InsertObject(int index, const String& s, TObject* object) {
  Insert(index, s);
  SetObjects(index, object);
}

void TStrings::Move(int from, int to) {
  if (from == to) return;
  // Checked before the line leaves, so a bad target loses nothing.
  if (to < 0 || to >= Count()) throw EListError(IndexError(to));
  String s = Strings(from);
  TObject* object = Objects(from);
  TStringsUpdate update(*this);
  Delete(from);
  InsertObject(to, s, object);
}

void TStrings::Exchange(int a, int b) {
  String s = Strings(a);
  TObject* object = Objects(a);
  TStringsUpdate update(*this);
  SetStrings(a, Strings(b));
  SetObjects(a, Objects(b));
  SetStrings(b, s);
  SetObjects(b, object);
}

void TStrings::Assign(TPersistent* source) {
  if (auto* strings = dynamic_cast<TStrings*>(source)) {
    Assign(*strings);
  } else {
    TPersistent::Assign(source);
  }
}

void TStrings::Assign(const TStrings& source) {
  if (&source == this) return;
  TStringsUpdate update(*this);
  Clear();
  AddStrings(source);
}

void TStrings::AddStrings(const TStrings& source) {
  TStringsUpdate update(*this);
  for (int i = 0, n = source.Count(); i < n; ++i) AddObject(source.Strings(i), source.Objects(i));
}

int TStrings::IndexOf(const String& s) const {
  for (int i = 0, n = Count(); i < n; ++i)
    if (CompareStrings(Strings(i), s) == 0) return i;
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0, n = Count(); i < n; ++i)
    if (Objects(i) == object) return i;
  return -1;
}

int TStrings::IndexOfName(const String& name) const {
  for (int i = 0, n = Count(); i < n; ++i) {
    String s = Strings(i);
    size_t eq = s.find('=');
    if (eq != String::npos && CompareText(s.substr(0, eq), name) == 0) return i;
  }
  return -1;
}

String TStrings::Names(int index) const {
  String s = Strings(index);
  size_t eq = s.find('=');
  return eq == String::npos ? String() : s.substr(0, eq);
}

String TStrings::ValueFromIndex(int index) const {
  String s = Strings(index);
  size_t eq = s.find('=');
  return eq == String::npos ? String() : s.substr(eq + 1);
}

String TStrings::Values(const String& name) const {
  int index = IndexOfName(name);
  return index < 0 ? String() : ValueFromIndex(index);
}

void TStrings::SetValues(const String& name, const String& value) {
  int index = IndexOfName(name);
  if (value.empty()) {
    if (index >= 0) Delete(index);
  } else if (index < 0) {
    Add(name + "=" + value);
  } else {
    SetStrings(index, name + "=" + value);
  }
}

String TStrings::Text() const {
  String text;
  for (int i = 0, n = Count(); i < n; ++i) {
    text += Strings(i);
    text += "\r\n";
  }
  return text;
}

void TStrings::SetText(const String& text) {
  std::vector<String> lines = SplitLines(text);
  TStringsUpdate update(*this);
  Clear();
  for (const String& line : lines) Add(line);
}

void TStrings::LoadFromStream(TStream& stream) {
  // Read until the stream runs dry: not every stream knows its size.
  String text;
  char block[4096];
  for (int n; (n = stream.Read(block, sizeof block)) > 0;) text.append(block, static_cast<size_t>(n));
  SetText(text);
}

void TStrings::LoadFromFile(const String& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TStrings::SaveToStream(TStream& stream) const {
  String text = Text();
  stream.WriteBuffer(text.data(), static_cast<int>(text.size()));
}

void TStrings::SaveToFile(const String& fileName) const {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

void TStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

int TStrings::CompareStrings(const String& a, const String& b) const { return CompareText(a, b); }

// ---- TStringList

void TStringList::Check(int index) const {
  if (index < 0 || index >= Count()) throw EListError(IndexError(index));
}

void TStringList::Changed() {
  if (UpdateCount() == 0) OnChange(this);
}

void TStringList::SetUpdateState(bool updating) {
  if (!updating) Changed();
}

int TStringList::CompareStrings(const String& a, const String& b) const {
  return caseSensitive_ ? CompareStr(a, b) : TStrings::CompareStrings(a, b);
}

String TStringList::Strings(int index) const {
  Check(index);
  return items_[index].text;
}

void TStringList::SetStrings(int index, const String& s) {
  if (sorted_) throw EListError("Operation not allowed on sorted list");
  Check(index);
  items_[index].text = s;
  Changed();
}

TObject* TStringList::Objects(int index) const {
  Check(index);
  return items_[index].object;
}

void TStringList::SetObjects(int index, TObject* object) {
  Check(index);
  items_[index].object = object;
  Changed();
}

int TStringList::Add(const String& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const String& s, TObject* object) {
  int index = Count();
  if (sorted_ && Find(s, index)) {
    if (Duplicates == dupIgnore) return index;
    if (Duplicates == dupError) throw EListError("String list does not allow duplicates");
  }
  InsertItem(index, s, object);
  return index;
}

void TStringList::Insert(int index, const String& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const String& s, TObject* object) {
  if (sorted_) throw EListError("Operation not allowed on sorted list");
  if (index < 0 || index > Count()) throw EListError(IndexError(index));
  InsertItem(index, s, object);
}

void TStringList::InsertItem(int index, const String& s, TObject* object) {
  items_.insert(items_.begin() + index, Item{s, object});
  Changed();
}

void TStringList::Delete(int index) {
  Check(index);
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

void TStringList::Exchange(int a, int b) {
  Check(a);
  Check(b);
  std::swap(items_[a], items_[b]);
  Changed();
}

int TStringList::IndexOf(const String& s) const {
  if (!sorted_) return TStrings::IndexOf(s);
  int index = 0;
  return Find(s, index) ? index : -1;
}

bool TStringList::Find(const String& s, int& index) const {
  auto first = std::lower_bound(items_.begin(), items_.end(), s, [this](const Item& item, const String& key) {
    return CompareStrings(item.text, key) < 0;
  });
  index = static_cast<int>(first - items_.begin());
  return first != items_.end() && CompareStrings(first->text, s) == 0;
}

void TStringList::Sort() {
  if (!sorted_) SortBy(DefaultOrder);
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
  // A sorted list keeps its own order: Find depends on it.
  if (!sorted_) SortBy(compare);
}

int TStringList::DefaultOrder(TStringList& list, int a, int b) {
  return list.CompareStrings(list.items_[a].text, list.items_[b].text);
}

void TStringList::SortBy(const TStringListSortCompare& compare) {
  if (Count() < 2) return;
  // Sort positions first, so the comparison sees the list unchanged throughout.
  std::vector<int> order(items_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });
  std::vector<Item> sorted;
  sorted.reserve(items_.size());
  for (int i : order) sorted.push_back(std::move(items_[i]));
  items_ = std::move(sorted);
  Changed();
}

void TStringList::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  if (sorted) Sort();
  sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
  if (caseSensitive == caseSensitive_) return;
  caseSensitive_ = caseSensitive;
  if (sorted_) SortBy(DefaultOrder);
}
