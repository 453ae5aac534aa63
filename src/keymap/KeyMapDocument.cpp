#include "keymap/KeyMapDocument.h"

#include "files/FileBytes.h"
#include "files/KeyDefinitionReader.h"
#include "files/KeyLevelLayout.h"
#include "files/ProfileText.h"

namespace tdxx {
namespace {

// Keeps what the reader logs: its file-type line.
class LineCatcher final : public ProgressLog {
 public:
  void LogProgress(std::string_view text) override { text_.append(text); }
  std::string text_;
};

constexpr int kLevel2Room = 111;
constexpr int kLevel1FullRoom = 223;

std::size_t CodeCount(const std::string& codeText) {
  return codeText.size() / 2;
}

bool ValidKey(int key) {
  return key >= 0 && key < static_cast<int>(kKeyTableSize);
}

bool ValidLevel(int level) {
  return level == 1 || level == 2;
}

std::string KeyName(int key) {
  return "key " + std::to_string(key);
}

// Sets an integer value's text unless the file's text already means that number.
void SetInteger(ProfileValueText& text, std::int32_t value, std::int32_t defaultValue) {
  if (IntegerValue(text, defaultValue) == value && text) {
    return;
  }
  text = std::to_string(value);
}

}  // namespace

std::string FlagBitNames(std::uint8_t flags) {
  constexpr std::pair<std::uint8_t, const char*> kBits[] = {{kFlagHasCodes, "HasCodes"},
                                                            {kFlagAutoRepeat, "AutoRepeat"},
                                                            {kFlagMacroMode3, "MacroMode3"},
                                                            {kFlagSingleCode, "SingleCode"}};
  std::string names;
  for (const auto& [bit, name] : kBits) {
    if ((flags & bit) == 0)
      continue;
    if (!names.empty())
      names += "|";
    names += name;
  }
  return names.empty() ? "-" : names;
}

KeyMapDocument::KeyMapDocument()
    : table_(std::make_shared<KeyTable>()),
      diagnostics_(std::make_shared<KeyDefinitionDiagnostics>()) {}

std::optional<KeyMapDocument> KeyMapDocument::Open(const std::string& path, std::string& error) {
  KeyMapDocument document;
  const int readError = ReadFileBytes(path, document.fileBytes_);
  if (readError != 0) {
    error = "Cannot read " + path + ": " + SystemErrorText(readError);
    return std::nullopt;
  }
  document.path_ = path;
  document.MarkSaved(path, document.fileBytes_);
  if (document.keyCount_ == 0) {
    error = "Cannot read " + path + ": no key definitions found";
    return std::nullopt;
  }
  return document;
}

KeyMapDocument KeyMapDocument::New(const NewFileModel& model) {
  KeyMapDocument document;
  document.MarkSaved("", NewKeyDefinitionText(model));
  return document;
}

void KeyMapDocument::MarkSaved(const std::string& path, const std::string& bytes) {
  path_ = path;
  fileBytes_ = bytes;
  LineCatcher log;
  auto table = std::make_shared<KeyTable>();
  auto diagnostics = std::make_shared<KeyDefinitionDiagnostics>();
  block_ = GlobalParameterBlock{};
  keyCount_ = ReadKeyDefinitionBytes(fileBytes_, *table, block_, log, diagnostics.get());
  savedValues_ = values_ = ValuesFromDiagnostics(*diagnostics);
  table_ = std::move(table);
  diagnostics_ = std::move(diagnostics);
  typeLine_ = std::move(log.text_);
  problems_ = FindKeyMapProblems(*diagnostics_, *table_);
}

void KeyMapDocument::Refresh() {
  LineCatcher log;
  auto table = std::make_shared<KeyTable>();
  auto diagnostics = std::make_shared<KeyDefinitionDiagnostics>();
  block_ = GlobalParameterBlock{};
  keyCount_ = ReadKeyDefinitionBytes(BytesToSave(), *table, block_, log, diagnostics.get());
  table_ = std::move(table);
  diagnostics_ = std::move(diagnostics);
  typeLine_ = std::move(log.text_);
  problems_ = FindKeyMapProblems(*diagnostics_, *table_);
}

std::string KeyMapDocument::BytesToSave() const {
  return EditProfileBytes(fileBytes_, EditsBetween(savedValues_, values_)).value_or(fileBytes_);
}

void KeyMapDocument::SetValues(const KeyMapValues& values) {
  if (values == values_) {
    return;
  }
  values_ = values;
  Refresh();
}

LevelView KeyMapDocument::Level(int key, int level) const {
  LevelView view;
  view.level = level;
  if (!ValidKey(key) || !ValidLevel(level)) {
    return view;
  }
  const std::size_t l = static_cast<std::size_t>(level - 1);
  const LevelValues& values = values_.keys[static_cast<std::size_t>(key)].levels[l];
  view.mode = IntegerValue(values.mode, 0);
  view.autoRepeat = IntegerValue(values.autoRepeat, 0) != 0;
  view.codeText = values.codes.value_or("");
  view.events = EventsFromCodeText(view.codeText);
  view.summary = SummarizeEvents(view.events);
  const KeyRecord& record = (*table_)[static_cast<std::size_t>(key)];
  const KeyLevelLayout& layout = level == 1 ? kLevel1Layout : kLevel2Layout;
  view.flags = record.bytes[layout.flags];
  view.sentLength = record.bytes[layout.length];
  const std::size_t sent = std::min<std::size_t>(view.sentLength, layout.codesSize);
  view.sentCodes.assign(record.bytes.begin() + static_cast<std::ptrdiff_t>(layout.codes),
                        record.bytes.begin() + static_cast<std::ptrdiff_t>(layout.codes + sent));
  const bool level2Empty =
      values_.keys[static_cast<std::size_t>(key)].levels[1].codes.value_or("").empty();
  view.room = level == 2 || !level2Empty ? kLevel2Room : kLevel1FullRoom;
  for (const KeyMapProblem& problem : problems_) {
    if (problem.key == key && problem.level == level) {
      view.problems.push_back(problem.text);
    }
  }
  return view;
}

KeyView KeyMapDocument::Key(int key) const {
  KeyView view;
  view.key = key;
  if (!ValidKey(key)) {
    return view;
  }
  view.keyType = IntegerValue(values_.keys[static_cast<std::size_t>(key)].keyType, 0);
  view.sent = key < keyCount_;
  view.levels[0] = Level(key, 1);
  view.levels[1] = Level(key, 2);
  for (const KeyMapProblem& problem : problems_) {
    view.hasProblem = view.hasProblem || problem.key == key;
  }
  return view;
}

std::vector<GlobalSettingView> KeyMapDocument::GlobalSettings() const {
  std::vector<GlobalSettingView> settings;
  const auto& names = KeyDefinitionGlobalNames();
  const auto& defaults = KeyDefinitionGlobalDefaults();
  for (std::size_t g = 0; g < kGlobalValueCount; ++g) {
    GlobalSettingView view;
    view.name = names[g];
    view.inFile = values_.globals[g].has_value();
    if (g == kGlobalModelNumber) {
      view.text = values_.globals[g].value_or("None");
    } else {
      view.text = values_.globals[g].value_or(std::to_string(defaults[g]));
      view.value = diagnostics_->globalValues[g];
    }
    if (const std::size_t offset = GlobalBlockOffsetOf(g); offset != 0) {
      view.sent = block_.bytes[offset];
    }
    settings.push_back(std::move(view));
  }
  return settings;
}

std::optional<std::string> KeyMapDocument::LevelTextRefusal(int key, int level,
                                                            const std::string& codeText) const {
  if (!ValidKey(key) || !ValidLevel(level)) {
    return "there is no " + KeyName(key) + " level " + std::to_string(level);
  }
  const KeyValues& values = values_.keys[static_cast<std::size_t>(key)];
  const std::size_t count = CodeCount(codeText);
  if (level == 2) {
    if (count > kLevel2Room) {
      return std::to_string(count) + " codes do not fit level 2, which holds at most 111";
    }
    const std::size_t level1 = CodeCount(values.levels[0].codes.value_or(""));
    if (!codeText.empty() && level1 > kLevel2Room) {
      return "level 1 holds " + std::to_string(level1) +
             " codes; with level 2 not empty it has room for 111 only";
    }
    return std::nullopt;
  }
  const bool level2Empty = values.levels[1].codes.value_or("").empty();
  const std::size_t room = level2Empty ? kLevel1FullRoom : kLevel2Room;
  if (count > room) {
    return std::to_string(count) + " codes do not fit level 1, which holds at most " +
           std::to_string(room) + (level2Empty ? "" : " while level 2 is not empty");
  }
  return std::nullopt;
}

EditResult KeyMapDocument::SetCodeText(int key, int level, const std::string& codeText) {
  if (std::optional<std::string> refusal = LevelTextRefusal(key, level, codeText)) {
    return EditResult::Refused(*refusal);
  }
  KeyMapValues values = values_;
  ProfileValueText& text =
      values.keys[static_cast<std::size_t>(key)].levels[static_cast<std::size_t>(level - 1)].codes;
  if (text.value_or("") == codeText) {
    return {};
  }
  text = codeText;
  SetValues(values);
  return {};
}

EditResult KeyMapDocument::SetMode(int key, int level, int mode) {
  if (!ValidKey(key) || !ValidLevel(level)) {
    return EditResult::Refused("there is no " + KeyName(key) + " level " + std::to_string(level));
  }
  if (mode < 0 || mode > 3) {
    return EditResult::Refused("mode " + std::to_string(mode) + " is not 0, 1, 2 or 3");
  }
  KeyMapValues values = values_;
  SetInteger(
      values.keys[static_cast<std::size_t>(key)].levels[static_cast<std::size_t>(level - 1)].mode,
      mode, 0);
  SetValues(values);
  return {};
}

EditResult KeyMapDocument::SetAutoRepeat(int key, int level, bool on) {
  if (!ValidKey(key) || !ValidLevel(level)) {
    return EditResult::Refused("there is no " + KeyName(key) + " level " + std::to_string(level));
  }
  KeyMapValues values = values_;
  ProfileValueText& text = values.keys[static_cast<std::size_t>(key)]
                               .levels[static_cast<std::size_t>(level - 1)]
                               .autoRepeat;
  if ((IntegerValue(text, 0) != 0) != on) {
    text = on ? "1" : "0";
  }
  SetValues(values);
  return {};
}

EditResult KeyMapDocument::SetKeyType(int key, int keyType) {
  if (!ValidKey(key)) {
    return EditResult::Refused("there is no " + KeyName(key));
  }
  if (keyType < 0 || keyType > 2) {
    return EditResult::Refused("key type " + std::to_string(keyType) + " is not 0, 1 or 2");
  }
  if (keyType != 0) {
    std::vector<int> holders;
    for (int k = 0; k < static_cast<int>(kKeyTableSize); ++k) {
      if (k != key && IntegerValue(values_.keys[static_cast<std::size_t>(k)].keyType, 0) == keyType)
        holders.push_back(k);
    }
    if (holders.size() >= 2) {
      return EditResult::Refused("keys " + std::to_string(holders[0]) + " and " +
                                 std::to_string(holders[1]) +
                                 " already take both slots of key type " + std::to_string(keyType));
    }
  }
  KeyMapValues values = values_;
  SetInteger(values.keys[static_cast<std::size_t>(key)].keyType, keyType, 0);
  SetValues(values);
  return {};
}

EditResult KeyMapDocument::SetGlobal(const std::string& name, const std::string& value) {
  const auto& names = KeyDefinitionGlobalNames();
  std::size_t g = 0;
  while (g < kGlobalValueCount && !EqualsIgnoringCase(names[g], name)) {
    ++g;
  }
  if (g == kGlobalValueCount) {
    return EditResult::Refused("there is no global setting named \"" + name + "\"");
  }
  if (value.find_first_of("\r\n") != std::string::npos) {
    return EditResult::Refused(std::string(names[g]) + " cannot hold a line break");
  }
  KeyMapValues values = values_;
  if (g == kGlobalModelNumber) {
    values.globals[g] = value;
  } else {
    const std::optional<std::int32_t> number = ParseProfileInt(value);
    if (!number) {
      return EditResult::Refused(std::string(names[g]) + " takes a number, not \"" + value + "\"");
    }
    if (g != kGlobalNumberOfKeys && (*number < 0 || *number > 255)) {
      return EditResult::Refused(std::string(names[g]) +
                                 " takes 0 to 255 (the keypad gets one byte)");
    }
    SetInteger(values.globals[g], *number, KeyDefinitionGlobalDefaults()[g]);
  }
  SetValues(values);
  return {};
}

SaveOutcome SaveKeyMapDocument(KeyMapDocument& document, const std::string& path) {
  const std::string bytes = document.BytesToSave();
  const int error = ReplaceFileAtomicallyOrError(path, bytes);
  if (error != 0) {
    return {false, "Cannot save " + path + ": " + SystemErrorText(error) +
                       ". The file on disk is unchanged."};
  }
  // Read back with the reader a download uses: the save counts only when the keypad would get
  // exactly what the Key Map showed.
  LineCatcher log;
  auto table = std::make_unique<KeyTable>();
  GlobalParameterBlock block;
  const int keyCount = ReadKeyDefinitionFile(path, *table, block, log);
  std::string difference;
  if (keyCount != document.keyCount()) {
    difference = "the key count";
  } else if (block.bytes != document.block().bytes) {
    difference = "the global settings";
  } else {
    for (std::size_t k = 0; k < kKeyTableSize && difference.empty(); ++k) {
      if ((*table)[k].bytes != document.table()[k].bytes)
        difference = "key " + std::to_string(k);
    }
  }
  if (!difference.empty()) {
    return {false, "Saved " + path + ", but it reads back differently (" + difference +
                       ") from what the Key Map shows: the save failed."};
  }
  document.MarkSaved(path, bytes);
  return {true, {}};
}

}  // namespace tdxx
