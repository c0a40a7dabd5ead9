// The vocabulary of the install script and of the builder's document text: the sections,
// their count keys, and the fields of every kind of entry with the views that read them.
#pragma once

#include <algorithm>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vandrel::script {

// Every section that a program writes or reads. Peskin belongs to the builder's document
// only; UnInstall, SharedFiles, AddedLinks and AddedFolders are added by the setup.
enum class Section {
  Settings,
  Background,
  Directories,
  Descriptions,
  Groups,
  AddIni,
  Registry,
  Files,
  Shortcuts,
  Messages,
  End,
  UnInstall,
  Owner,
  Web,
  SharedFiles,
  AddedLinks,
  AddedFolders,
  Peskin,
};

// Added by the setup beside the sections above: the installation's folders that were there
// before it ("nb", then entries 0 to nb-1, full paths), which its removal leaves in place.
inline constexpr const char* kKeptFoldersSection = "KeptFolders";

// The name that stands between the brackets of the section line.
std::string sectionName(Section section);
// The key that holds the number of entries of a counted section; the empty text for a
// section without a count.
std::string countKey(Section section);

// The sections of the document text, in the order they are written.
std::span<const Section> documentSections();

// A value as the writers put it on its line: a line break inside it would end the line
// early (and let the rest be read as a line of its own, even a section line), so each one
// is written as a blank.
std::string oneLine(std::string_view value);

// The named keys of the setting sections.
namespace key {
// [Settings]: the first thirteen go into Script.vrx; the rest belong to the document only.
inline constexpr const char* AppName = "AppName";
inline constexpr const char* Ver = "Ver";
inline constexpr const char* Title = "Title";
inline constexpr const char* LoadTxt = "LoadTxt";
inline constexpr const char* LoadBmp = "LoadBmp";
inline constexpr const char* DefDir = "DefDir";
inline constexpr const char* ShowLicence = "ShowLicence";
inline constexpr const char* Type = "Type";
inline constexpr const char* RegInfo = "RegInfo";
inline constexpr const char* OwnMsg = "OwnMsg";
inline constexpr const char* MinCpu = "minCpu";
inline constexpr const char* MinWin = "minWin";
inline constexpr const char* NCompil = "nCompil";
inline constexpr const char* NSyst = "nSyst";
inline constexpr const char* OwnUnInstall = "OwnUnInstall";
inline constexpr const char* ArchiveSize = "ArchiveSize";
inline constexpr const char* Language = "Language";
inline constexpr const char* LastGenPath = "LastGenPath";

// [Background].
inline constexpr const char* Gradient = "Gradient";
inline constexpr const char* Vert = "Vert";
inline constexpr const char* Bitmap = "Bitmap";
inline constexpr const char* BmpName = "BmpName";
inline constexpr const char* BmpMode = "BmpMode";
inline constexpr const char* Caption = "Caption";
inline constexpr const char* Top = "Top";
inline constexpr const char* Bottom = "Bottom";

// [Owner].
inline constexpr const char* Author = "Author";
inline constexpr const char* Subject = "Subject";
inline constexpr const char* Template = "Template";

// [End] and [Web], besides their numbered keys.
inline constexpr const char* Reboot = "Reboot";
inline constexpr const char* StartURL = "StartURL";

// [Peskin] of the document: the uninstaller's group and shortcut name.
inline constexpr const char* UnGroup = "UnGroup";
inline constexpr const char* UnDesc = "UnDesc";
}  // namespace key

// One field of an entry as it was read: absent (the comma list has no such item) or its
// text, which may be empty. The default of an absent field belongs to the reader.
class FieldText {
 public:
  FieldText() = default;
  FieldText(std::string text) : text_(std::move(text)) {}  // NOLINT: writers fill views
  FieldText(const char* text) : text_(std::string(text)) {}  // NOLINT

  bool present() const { return text_.has_value(); }
  std::string text(std::string_view def) const { return text_ ? *text_ : std::string(def); }
  // The leading-digits reading of text(def).
  long number(std::string_view def) const;

 private:
  std::optional<std::string> text_;
};

// One field of a kind of entry: its position (from 1) in the entry's comma list, its name,
// and where a view keeps it.
template <typename View>
struct FieldSpec {
  int position;
  const char* name;
  FieldText View::*member;
};

// The views, one per kind of entry. Script.vrx and the document text share the forms of
// [Directories], [AddINI] and [Registry]; [Files] and [Shortcuts] have a form of each.

// [Directories] (both forms): a folder below one of four roots.
struct DirectoryEntry {
  FieldText path, root, optional, label;
};
// [AddINI] (both forms): a Win.ini value.
struct IniEntry {
  FieldText section, key, value;
};
// [Registry] (both forms): a string value, and what removal takes away.
struct RegistryEntry {
  FieldText root, subkey, name, data, removal;
};
// [Files] of Script.vrx.
struct FileEntry {
  FieldText source, target, dir, disk, desc, uninstall, force, expand, size, platform, shared;
};
// [Shortcuts] of Script.vrx.
struct ShortcutEntry {
  FieldText target, dir, group, name, arguments, platform;
};
// A numbered key of [Web]: one Internet shortcut.
struct FavoriteEntry {
  FieldText name, address;
};
// [Files] of the document text: the references are indexes in their lists.
struct DocumentFileEntry {
  FieldText source, target, disk, uninstall, force, expand, size, dir, desc, predefinedDir,
      platform, sourcePath, shared;
};
// [Shortcuts] of the document text.
struct DocumentShortcutEntry {
  FieldText name, arguments, file, group;
};
// [Messages] of the document text (Script.vrx holds a plain disk number = file name).
struct DocumentMessageEntry {
  FieldText target, disk, path;
};

// The field table of a view, and the field that takes back the extra commas of a document
// text line (0 for a form that the document text does not hold).
template <typename View>
struct EntryForm;

template <>
struct EntryForm<DirectoryEntry> {
  using V = DirectoryEntry;
  static constexpr FieldSpec<V> fields[] = {
      {1, "path", &V::path}, {2, "root", &V::root}, {3, "optional", &V::optional},
      {4, "label", &V::label}};
  static constexpr int freeText = 4;
};
template <>
struct EntryForm<IniEntry> {
  using V = IniEntry;
  static constexpr FieldSpec<V> fields[] = {
      {1, "section", &V::section}, {2, "key", &V::key}, {3, "value", &V::value}};
  static constexpr int freeText = 3;
};
template <>
struct EntryForm<RegistryEntry> {
  using V = RegistryEntry;
  static constexpr FieldSpec<V> fields[] = {
      {1, "root", &V::root}, {2, "subkey", &V::subkey}, {3, "name", &V::name},
      {4, "data", &V::data}, {5, "removal", &V::removal}};
  static constexpr int freeText = 4;
};
template <>
struct EntryForm<FileEntry> {
  using V = FileEntry;
  static constexpr FieldSpec<V> fields[] = {
      {1, "source", &V::source},       {2, "target", &V::target},
      {3, "dir", &V::dir},             {4, "disk", &V::disk},
      {5, "desc", &V::desc},           {6, "uninstall", &V::uninstall},
      {7, "force", &V::force},         {8, "expand", &V::expand},
      {9, "size", &V::size},           {10, "platform", &V::platform},
      {11, "shared", &V::shared}};
  static constexpr int freeText = 0;
};
template <>
struct EntryForm<ShortcutEntry> {
  using V = ShortcutEntry;
  static constexpr FieldSpec<V> fields[] = {
      {1, "target", &V::target}, {2, "dir", &V::dir},           {3, "group", &V::group},
      {4, "name", &V::name},     {5, "arguments", &V::arguments}, {6, "platform", &V::platform}};
  static constexpr int freeText = 0;
};
template <>
struct EntryForm<FavoriteEntry> {
  using V = FavoriteEntry;
  static constexpr FieldSpec<V> fields[] = {{1, "name", &V::name}, {2, "address", &V::address}};
  static constexpr int freeText = 0;
};
template <>
struct EntryForm<DocumentFileEntry> {
  using V = DocumentFileEntry;
  static constexpr FieldSpec<V> fields[] = {
      {1, "source", &V::source},        {2, "target", &V::target},
      {3, "disk", &V::disk},            {4, "uninstall", &V::uninstall},
      {5, "force", &V::force},          {6, "expand", &V::expand},
      {7, "size", &V::size},            {8, "dir", &V::dir},
      {9, "desc", &V::desc},            {10, "predefinedDir", &V::predefinedDir},
      {11, "platform", &V::platform},   {12, "sourcePath", &V::sourcePath},
      {13, "shared", &V::shared}};
  static constexpr int freeText = 12;
};
template <>
struct EntryForm<DocumentShortcutEntry> {
  using V = DocumentShortcutEntry;
  static constexpr FieldSpec<V> fields[] = {
      {1, "name", &V::name}, {2, "arguments", &V::arguments}, {3, "file", &V::file},
      {4, "group", &V::group}};
  static constexpr int freeText = 2;
};
template <>
struct EntryForm<DocumentMessageEntry> {
  using V = DocumentMessageEntry;
  static constexpr FieldSpec<V> fields[] = {
      {1, "target", &V::target}, {2, "disk", &V::disk}, {3, "path", &V::path}};
  static constexpr int freeText = 3;
};

namespace detail {
// The items of a comma list (none for the empty text: every field is then absent).
std::vector<std::string> splitFields(std::string_view value);
// The items with the extra ones joined back into the item at freeText (from 1).
std::vector<std::string> splitDocumentFields(std::string_view value, std::size_t expected,
                                             int freeText);
// Items joined by commas, each written through oneLine.
std::string joinFields(const std::vector<std::string>& items);
}  // namespace detail

// A view of a Script.vrx entry: item k of the comma list is field k; an item beyond the
// last comma is absent, and extra items are ignored.
template <typename View>
View readEntry(std::string_view value) {
  // The items are taken straight from the text, up to the last one the form reads (the
  // setup reads every [Files] line several times per installation).
  View view;
  if (value.empty()) return view;
  int last = 0;
  for (const FieldSpec<View>& field : EntryForm<View>::fields)
    last = std::max(last, field.position);
  std::size_t start = 0;
  for (int position = 1; position <= last; ++position) {
    const std::size_t comma = value.find(',', start);
    const std::string_view item =
        value.substr(start, comma == std::string_view::npos ? comma : comma - start);
    for (const FieldSpec<View>& field : EntryForm<View>::fields) {
      if (field.position == position) view.*(field.member) = std::string(item);
    }
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return view;
}

// A view of a document text entry: as readEntry, except that a line with more items than
// its form has gives the extra commas back to its free-text field.
template <typename View>
View readDocumentEntry(std::string_view value) {
  constexpr std::size_t count = std::size(EntryForm<View>::fields);
  std::vector<std::string> items =
      detail::splitDocumentFields(value, count, EntryForm<View>::freeText);
  View view;
  for (const FieldSpec<View>& field : EntryForm<View>::fields) {
    if (std::size_t(field.position) <= items.size()) {
      view.*(field.member) = std::move(items[std::size_t(field.position) - 1]);
    }
  }
  return view;
}

// The value of an entry line: every field of the form in position order, joined by commas
// (an absent field is written empty).
template <typename View>
std::string entryValue(const View& view) {
  std::vector<std::string> items(std::size(EntryForm<View>::fields));
  for (const FieldSpec<View>& field : EntryForm<View>::fields) {
    items[std::size_t(field.position) - 1] = (view.*(field.member)).text("");
  }
  return detail::joinFields(items);
}

}  // namespace vandrel::script
