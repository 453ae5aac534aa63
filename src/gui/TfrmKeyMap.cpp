#include "gui/TfrmKeyMap.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/KeyMapController.h"
#include "app/KeyMapWindowOpening.h"
#include "gui/QtApplication.h"
#include "gui/QtChooseKeyDialog.h"
#include "gui/QtKeyCapGrid.h"
#include "gui/QtKeyLevelEditor.h"
#include "gui/QtKeyRecorder.h"
#include "gui/QtNarrowText.h"
#include "gui/QtOpenFileDialog.h"

namespace tdxx {

namespace {

constexpr const char* kBoxTitle = "Key Map";
constexpr const char* kFileFilter = "Custom Key Definitions (*.ckd);;Any File (*)";
// Room beside the widest value of the global settings for a longer one typed in.
constexpr int kValueRoom = 24;

// What a cap shows of a level's summary: typed text without the word "types", which would
// leave no room for the text itself.
QString CapText(const std::string& summary) {
  constexpr std::string_view kTypes = "types \"";
  if (summary.starts_with(kTypes))
    return DisplayText(std::string_view(summary).substr(kTypes.size() - 1));
  return DisplayText(summary);
}

QString Text(std::string_view narrow) {
  return DisplayText(narrow);
}

std::string Narrow(const QString& text) {
  return text.toUtf8().toStdString();
}

// "e0 4a" style hex of a set-2 key's make code, as the file writes it.
QString CodesOf(const ScanCodeKey& key) {
  QString codes;
  if (key.extended)
    codes = QStringLiteral("e0");
  return codes + QStringLiteral("%1").arg(key.code, 2, 16, QLatin1Char('0'));
}

SequenceChip ChipOf(const KeyEvent& event) {
  SequenceChip chip;
  chip.text = Text(EventText(event));
  switch (event.action) {
    case KeyAction::kPress:
      chip.kind = SequenceChip::Kind::Press;
      break;
    case KeyAction::kRelease:
      chip.kind = SequenceChip::Kind::Release;
      break;
    case KeyAction::kRaw:
      chip.kind = SequenceChip::Kind::Other;
      break;
  }
  return chip;
}

QString Joined(const std::vector<std::string>& lines) {
  QString joined;
  for (const std::string& line : lines) {
    if (!joined.isEmpty())
      joined += QLatin1Char('\n');
    joined += Text(line);
  }
  return joined;
}

// What the keypad gets of a level, for the line under its code text.
QString SentText(const LevelView& level) {
  const int codes = level.sentLength == 0 ? 0 : level.sentLength - 1;
  QString text = codes == 0
                     ? QStringLiteral("Sends no codes")
                     : QStringLiteral("Sends %1 code%2").arg(codes).arg(codes == 1 ? "" : "s");
  text += QStringLiteral(" (room for %1), flags %2")
              .arg(level.room)
              .arg(level.flags, 2, 16, QLatin1Char('0'));
  return text;
}

// A level with a code text of which the keypad gets nothing.
bool LevelDropped(const LevelView& level) {
  return !level.codeText.empty() && level.sentLength == 0;
}

KeyLevelFace FaceOf(const LevelView& level) {
  KeyLevelFace face;
  face.mode = level.mode;
  face.autoRepeat = level.autoRepeat;
  face.summary = Text(level.summary);
  for (const KeyEvent& event : level.events)
    face.chips.push_back(ChipOf(event));
  face.codeText = Text(level.codeText);
  face.sent = SentText(level);
  face.problems = Joined(level.problems);
  return face;
}

// The modes a level takes, with the flag bits each sets in the level's flag byte.
QStringList ModeNames() {
  return {QStringLiteral("0: automatic (flag 08 for one key or a modifier)"),
          QStringLiteral("1: flag 08"), QStringLiteral("2: no flags"),
          QStringLiteral("3: flag 04")};
}

}  // namespace

TfrmKeyMap::TfrmKeyMap(QWidget* mainWindow)
    : QMainWindow(mainWindow, Qt::Window),
      gate_([this](std::string_view text) { ShowStandardErrorBox(this, DisplayText(text)); }) {
  setObjectName(QStringLiteral("frmKeyMap"));
  setWindowTitle(QStringLiteral("Key Map"));
  recorder_ = new QtKeyRecorder(this);
  connect(recorder_, &QtKeyRecorder::recorded, this, &TfrmKeyMap::ShowRecordingSoFar);
}

TfrmKeyMap::~TfrmKeyMap() = default;

void TfrmKeyMap::setVisible(bool visible) {
  if (visible)
    EnsureContents();
  QMainWindow::setVisible(visible);
}

void TfrmKeyMap::EnsureContents() {
  if (contentsBuilt_)
    return;
  contentsBuilt_ = true;
  BuildMenus();
  BuildCentre();
  ShowControllerState();
}

void TfrmKeyMap::Attach(KeyMapController& controller, const MainWindowState& state) {
  controller_ = &controller;
  state_ = &state;
  ShowControllerState();
}

QAction* TfrmKeyMap::AddAction(QMenu& menu, const char* name, const char* text,
                               const QKeySequence& shortcut, const std::function<void()>& handler) {
  QAction* action = menu.addAction(QString::fromLatin1(text));
  action->setObjectName(QString::fromLatin1(name));
  action->setShortcut(shortcut);
  connect(action, &QAction::triggered, this, [this, handler] { Run(handler); });
  return action;
}

void TfrmKeyMap::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  actNew_ = AddAction(*file, "actNew", "&New...", QKeySequence::New, [this] { NewDocument(); });
  actOpen_ =
      AddAction(*file, "actOpen", "&Open...", QKeySequence::Open, [this] { OpenDocument(); });
  actSave_ = AddAction(*file, "actSave", "&Save", QKeySequence::Save, [this] { SaveDocument(); });
  actSaveAs_ =
      AddAction(*file, "actSaveAs", "Save &As...", QKeySequence(QStringLiteral("Ctrl+Shift+S")),
                [this] { SaveDocumentAs(); });
  file->addSeparator();
  actClose_ = file->addAction(QStringLiteral("&Close"));
  actClose_->setObjectName(QStringLiteral("actClose"));
  actClose_->setShortcut(QKeySequence(QStringLiteral("Ctrl+W")));
  connect(actClose_, &QAction::triggered, this, &QWidget::close);

  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
  actUndo_ = AddAction(*edit, "actUndo", "&Undo", QKeySequence(QStringLiteral("Ctrl+Z")),
                       [this] { controller_->Undo(); });
  actRedo_ = AddAction(*edit, "actRedo", "&Redo", QKeySequence(QStringLiteral("Ctrl+Shift+Z")),
                       [this] { controller_->Redo(); });
}

void TfrmKeyMap::BuildCentre() {
  auto* centre = new QWidget(this);
  auto* layout = new QVBoxLayout(centre);

  auto* top = new QHBoxLayout;
  auto* gboxKeys = new QGroupBox(QStringLiteral(" Keys "), centre);
  gboxKeys->setObjectName(QStringLiteral("gboxKeys"));
  auto* keysLayout = new QVBoxLayout(gboxKeys);
  grid_ = new QtKeyCapGrid(gboxKeys);
  grid_->setObjectName(QStringLiteral("gridKeys"));
  keysLayout->addWidget(grid_);
  keysLayout->addStretch(1);
  top->addWidget(gboxKeys);
  connect(grid_, &QtKeyCapGrid::keySelected, this,
          [this](int index) { Run([this, index] { controller_->SelectKey(index); }); });

  auto* gboxGlobal = new QGroupBox(QStringLiteral(" Global settings "), centre);
  gboxGlobal->setObjectName(QStringLiteral("gboxGlobal"));
  auto* globalLayout = new QVBoxLayout(gboxGlobal);
  tblGlobals_ = new QTableWidget(0, 3, gboxGlobal);
  tblGlobals_->setObjectName(QStringLiteral("tblGlobals"));
  tblGlobals_->setHorizontalHeaderLabels(
      {QStringLiteral("Setting"), QStringLiteral("In file"), QStringLiteral("Sent")});
  tblGlobals_->verticalHeader()->hide();
  tblGlobals_->horizontalHeader()->setStretchLastSection(true);
  tblGlobals_->verticalHeader()->setDefaultSectionSize(tblGlobals_->fontMetrics().height() + 6);
  tblGlobals_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  tblGlobals_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  tblGlobals_->setSelectionMode(QAbstractItemView::SingleSelection);
  tblGlobals_->setEditTriggers(QAbstractItemView::DoubleClicked |
                               QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::AnyKeyPressed);
  tblGlobals_->setToolTip(QStringLiteral("Double-click a value in the file to change it"));
  globalLayout->addWidget(tblGlobals_);
  top->addWidget(gboxGlobal, 1);
  layout->addLayout(top);
  connect(tblGlobals_, &QTableWidget::cellChanged, this, &TfrmKeyMap::SetGlobalFromTable);

  auto* gboxKey = new QGroupBox(centre);
  gboxKey->setObjectName(QStringLiteral("gboxKey"));
  auto* keyLayout = new QVBoxLayout(gboxKey);
  auto* keyHeader = new QHBoxLayout;
  lblKey_ = new QLabel(gboxKey);
  lblKey_->setObjectName(QStringLiteral("lblKey"));
  QFont bold = lblKey_->font();
  bold.setBold(true);
  lblKey_->setFont(bold);
  keyHeader->addWidget(lblKey_, 1);
  auto* keyTypeLabel = new QLabel(QStringLiteral("Key &type:"), gboxKey);
  cmbKeyType_ = new QComboBox(gboxKey);
  cmbKeyType_->setObjectName(QStringLiteral("cmbKeyType"));
  cmbKeyType_->addItem(QStringLiteral("0: ordinary key"), 0);
  cmbKeyType_->addItem(QStringLiteral("1: key-type 1 slot"), 1);
  cmbKeyType_->addItem(QStringLiteral("2: key-type 2 slot"), 2);
  keyTypeLabel->setBuddy(cmbKeyType_);
  keyHeader->addWidget(keyTypeLabel);
  keyHeader->addWidget(cmbKeyType_);
  keyLayout->addLayout(keyHeader);
  connect(cmbKeyType_, &QComboBox::activated, this, [this](int index) {
    const int keyType = cmbKeyType_->itemData(index).toInt();
    Run([this, keyType] {
      if (const std::optional<int> key = controller_->selectedKey())
        Tell(controller_->SetKeyType(*key, keyType));
    });
  });
  auto* levels = new QHBoxLayout;
  level1_ = new QtKeyLevelEditor(1, gboxKey);
  level2_ = new QtKeyLevelEditor(2, gboxKey);
  for (QtKeyLevelEditor* editor : {level1_, level2_}) {
    editor->SetModeNames(ModeNames());
    levels->addWidget(editor, 1);
    ConnectLevel(*editor);
  }
  keyLayout->addLayout(levels);
  layout->addWidget(gboxKey, 1);

  auto* gboxProblems = new QGroupBox(QStringLiteral(" What the keypad will not get "), centre);
  gboxProblems->setObjectName(QStringLiteral("gboxProblems"));
  auto* problemsLayout = new QVBoxLayout(gboxProblems);
  lstProblems_ = new QListWidget(gboxProblems);
  lstProblems_->setObjectName(QStringLiteral("lstProblems"));
  lstProblems_->setMaximumHeight(84);
  problemsLayout->addWidget(lstProblems_);
  layout->addWidget(gboxProblems);
  connect(lstProblems_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    const int key = item->data(Qt::UserRole).toInt();
    if (key >= 0)
      Run([this, key] { controller_->SelectKey(key); });
  });

  setCentralWidget(centre);
  lblFile_ = new QLabel(this);
  lblFile_->setObjectName(QStringLiteral("lblFile"));
  statusBar()->addWidget(lblFile_, 1);
}

void TfrmKeyMap::ConnectLevel(QtKeyLevelEditor& editor) {
  QtKeyLevelEditor* panel = &editor;
  const int level = editor.level();
  // Runs an edit of the selected key's level and tells a refusal.
  const auto edit = [this](std::function<EditResult(int key)> change) {
    Run([this, change] {
      if (const std::optional<int> key = controller_->selectedKey())
        Tell(change(*key));
    });
  };
  connect(panel, &QtKeyLevelEditor::modeChosen, this, [this, edit, level](int mode) {
    edit([this, level, mode](int key) { return controller_->SetMode(key, level, mode); });
  });
  connect(panel, &QtKeyLevelEditor::autoRepeatChosen, this, [this, edit, level](bool on) {
    edit([this, level, on](int key) { return controller_->SetAutoRepeat(key, level, on); });
  });
  connect(panel, &QtKeyLevelEditor::clearClicked, this, [this, edit, level] {
    edit([this, level](int key) { return controller_->Clear(key, level); });
  });
  connect(panel, &QtKeyLevelEditor::codeTextEntered, this,
          [this, edit, level](const QString& text) {
            const std::string codeText = Narrow(text);
            edit([this, level, codeText](int key) {
              return controller_->SetCodeText(key, level, codeText);
            });
          });
  connect(panel, &QtKeyLevelEditor::typeTextClicked, this,
          [this, level] { Run([this, level] { TypeText(level); }); });
  connect(panel, &QtKeyLevelEditor::chooseKeyClicked, this,
          [this, level] { Run([this, level] { ChooseKey(level); }); });
  // Not through the gate: Stop must be taken while nothing else runs anyway, and the recording
  // itself lets the event loop run freely.
  connect(panel, &QtKeyLevelEditor::recordClicked, this,
          [this, panel] { ToggleRecording(*panel); });
}

void TfrmKeyMap::Run(const std::function<void()>& handler) {
  if (controller_ == nullptr)
    return;
  gate_.Run(handler);
  ShowControllerState();
}

void TfrmKeyMap::Tell(const EditResult& result) {
  if (result.ok)
    return;
  QMessageBox::warning(this, QString::fromLatin1(kBoxTitle), Text(result.reason));
}

void TfrmKeyMap::ShowControllerState() {
  // Before the first showing there is nothing to show it in; the showing shows it.
  if (!contentsBuilt_)
    return;
  const bool open = controller_ != nullptr && controller_->hasDocument();
  const bool recording = recorder_->recording();
  ShowCaps();
  ShowGlobals();
  ShowProblems();
  ShowSelectedKey();
  setWindowTitle(open ? Text(controller_->Title()) : QStringLiteral("Key Map"));
  lblFile_->setText(open ? Text(controller_->document().isNew() ? std::string("Not saved yet")
                                                                : controller_->document().path())
                         : QString());
  for (QAction* action : {actNew_, actOpen_})
    action->setEnabled(controller_ != nullptr && !recording);
  actSave_->setEnabled(open && !recording);
  actSaveAs_->setEnabled(open && !recording);
  actUndo_->setEnabled(open && !recording && controller_->CanUndo());
  actRedo_->setEnabled(open && !recording && controller_->CanRedo());
  grid_->setEnabled(open && !recording);
  tblGlobals_->setEnabled(open && !recording);
  lstProblems_->setEnabled(open && !recording);
}

void TfrmKeyMap::ShowCaps() {
  std::vector<KeyCapFace> caps;
  if (controller_ != nullptr && controller_->hasDocument()) {
    const int count = controller_->CapCount();
    caps.reserve(static_cast<std::size_t>(count));
    for (int key = 0; key < count; ++key) {
      const KeyView view = controller_->Key(key);
      KeyCapFace face;
      face.number = key;
      face.level1 = CapText(view.levels[0].summary);
      face.level2 = CapText(view.levels[1].summary);
      face.problem = view.hasProblem;
      face.level1Dropped = LevelDropped(view.levels[0]);
      face.level2Dropped = LevelDropped(view.levels[1]);
      std::vector<std::string> detail;
      detail.push_back("Level 1: " + (view.levels[0].summary.empty() ? std::string("(nothing)")
                                                                     : view.levels[0].summary));
      detail.push_back("Level 2: " + (view.levels[1].summary.empty() ? std::string("(nothing)")
                                                                     : view.levels[1].summary));
      for (const KeyMapProblem& problem : controller_->ProblemsOfKey(key))
        detail.push_back(ProblemText(problem));
      face.detail = Joined(detail);
      caps.push_back(std::move(face));
    }
  }
  grid_->SetCaps(std::move(caps));
  const std::optional<int> selected =
      controller_ != nullptr ? controller_->selectedKey() : std::nullopt;
  grid_->SetSelectedIndex(selected.value_or(-1));
}

void TfrmKeyMap::ShowGlobals() {
  showingGlobals_ = true;
  const QSignalBlocker blocker(tblGlobals_);
  if (controller_ == nullptr || !controller_->hasDocument()) {
    tblGlobals_->setRowCount(0);
    showingGlobals_ = false;
    return;
  }
  const std::vector<GlobalSettingView> settings = controller_->GlobalSettings();
  tblGlobals_->setRowCount(static_cast<int>(settings.size()));
  for (int row = 0; row < static_cast<int>(settings.size()); ++row) {
    const GlobalSettingView& setting = settings[static_cast<std::size_t>(row)];
    auto* name = new QTableWidgetItem(Text(setting.name));
    name->setFlags(Qt::ItemIsEnabled);
    auto* value = new QTableWidgetItem(Text(setting.text));
    value->setFlags(Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsSelectable);
    if (!setting.inFile) {
      value->setForeground(palette().color(QPalette::PlaceholderText));
      value->setToolTip(QStringLiteral("Not in the file: the default"));
    }
    QString sentText = QStringLiteral("-");
    if (setting.sent)
      sentText = QString::number(*setting.sent);
    auto* sent = new QTableWidgetItem(sentText);
    sent->setFlags(Qt::ItemIsEnabled);
    if (!setting.sent)
      sent->setToolTip(QStringLiteral("Not sent: decides how many keys the file has"));
    if (setting.sent && *setting.sent != setting.value) {
      sent->setForeground(QColor(0xb0, 0x20, 0x18));
      sent->setToolTip(QStringLiteral("Only the low 8 bits of %1 are sent").arg(setting.value));
    }
    tblGlobals_->setItem(row, 0, name);
    tblGlobals_->setItem(row, 1, value);
    tblGlobals_->setItem(row, 2, sent);
  }
  FitGlobalsTable();
  showingGlobals_ = false;
}

void TfrmKeyMap::FitGlobalsTable() {
  // Every setting in view without scrolling: the table as wide and as high as its contents.
  // (The stretched last column has the width left over, so it is measured unstretched.)
  QHeaderView* header = tblGlobals_->horizontalHeader();
  header->setStretchLastSection(false);
  tblGlobals_->resizeColumnsToContents();
  const int frame = 2 * tblGlobals_->frameWidth();
  int width = frame;
  for (int column = 0; column < tblGlobals_->columnCount(); ++column)
    width += header->sectionSize(column);
  header->setStretchLastSection(true);
  tblGlobals_->setFixedWidth(width + kValueRoom);
  tblGlobals_->setMinimumHeight(header->height() + frame + tblGlobals_->verticalHeader()->length());
}

void TfrmKeyMap::ShowProblems() {
  lstProblems_->clear();
  if (controller_ == nullptr || !controller_->hasDocument())
    return;
  const std::vector<KeyMapProblem>& problems = controller_->Problems();
  if (problems.empty()) {
    auto* item = new QListWidgetItem(QStringLiteral("None: the keypad gets every key as written."));
    item->setData(Qt::UserRole, -1);
    lstProblems_->addItem(item);
    return;
  }
  for (const KeyMapProblem& problem : problems) {
    auto* item = new QListWidgetItem(Text(ProblemText(problem)));
    item->setData(Qt::UserRole, problem.key);
    lstProblems_->addItem(item);
  }
}

void TfrmKeyMap::ShowSelectedKey() {
  const std::optional<int> key = controller_ != nullptr && controller_->hasDocument()
                                     ? controller_->selectedKey()
                                     : std::nullopt;
  const bool recording = recorder_->recording();
  level1_->setEnabled(key.has_value() && (!recording || recordingLevel_ == level1_));
  level2_->setEnabled(key.has_value() && (!recording || recordingLevel_ == level2_));
  cmbKeyType_->setEnabled(key.has_value() && !recording);
  if (!key) {
    lblKey_->setText(controller_ != nullptr && controller_->hasDocument()
                         ? QStringLiteral("Select a key to edit it.")
                         : QStringLiteral("No key-definition file is open."));
    level1_->Show(KeyLevelFace{});
    level2_->Show(KeyLevelFace{});
    return;
  }
  const KeyView view = controller_->Key(*key);
  QString title = QStringLiteral("Key %1").arg(*key);
  if (!view.sent)
    title += QStringLiteral(" (beyond the key count: not sent)");
  lblKey_->setText(title);
  const int keyType = cmbKeyType_->findData(view.keyType);
  cmbKeyType_->setCurrentIndex(keyType);
  level1_->Show(FaceOf(view.levels[0]));
  level2_->Show(FaceOf(view.levels[1]));
}

void TfrmKeyMap::ShowWindow() {
  EnsureContents();
  ShowControllerState();
  show();
  raise();
  activateWindow();
}

void TfrmKeyMap::ShowForLoadedFile() {
  if (controller_ == nullptr)
    return;
  gate_.Run([this] {
    switch (ChooseKeyMapOpening(*controller_, *state_)) {
      case KeyMapOpening::kShowAsIs:
        break;
      case KeyMapOpening::kOpenLoaded: {
        if (!MayDropDocument())
          break;
        std::string error;
        if (!controller_->OpenLoadedFile(error))
          QMessageBox::warning(this, QString::fromLatin1(kBoxTitle), Text(error));
        break;
      }
      case KeyMapOpening::kNewFile:
        MakeNewDocument();
        break;
    }
    if (controller_->hasDocument())
      ShowWindow();
  });
}

void TfrmKeyMap::ShowFile(const std::string& path) {
  if (controller_ == nullptr)
    return;
  gate_.Run([this, &path] {
    if (!MayDropDocument())
      return;
    std::string error;
    if (!controller_->OpenFile(path, error)) {
      QMessageBox::warning(this, QString::fromLatin1(kBoxTitle), Text(error));
      return;
    }
    ShowWindow();
  });
}

bool TfrmKeyMap::MayDropDocument() {
  if (controller_ == nullptr || !controller_->hasDocument() ||
      controller_->CloseRequest() == KeyMapCloseDecision::kClose)
    return true;
  const QMessageBox::StandardButton answer = QMessageBox::question(
      this, QString::fromLatin1(kBoxTitle), Text(controller_->CloseQuestion()),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Save)
    return SaveDocument();
  return answer == QMessageBox::Discard;
}

bool TfrmKeyMap::AgreeToClose() {
  CancelRecording();
  if (!isVisible())
    return true;
  return MayDropDocument();
}

void TfrmKeyMap::closeEvent(QCloseEvent* event) {
  if (gate_.busy()) {
    event->ignore();
    return;
  }
  CancelRecording();
  bool agreed = true;
  gate_.Run([this, &agreed] {
    agreed = MayDropDocument();
    // Still unsaved once agreed: the person chose Discard.
    std::string error;
    if (agreed && !DiscardKeyMapChanges(*controller_, error))
      QMessageBox::warning(this, QString::fromLatin1(kBoxTitle), Text(error));
  });
  ShowControllerState();
  if (!agreed) {
    event->ignore();
    return;
  }
  event->accept();
}

bool TfrmKeyMap::SaveDocument() {
  if (controller_->NeedsPathToSave())
    return SaveDocumentAs();
  const SaveOutcome outcome = controller_->Save();
  if (!outcome.saved)
    QMessageBox::warning(this, QString::fromLatin1(kBoxTitle), Text(outcome.message));
  return outcome.saved;
}

bool TfrmKeyMap::SaveDocumentAs() {
  QFileDialog dialog(this, QStringLiteral("Save Key Definitions As"));
  dialog.setObjectName(QStringLiteral("dlgSaveKeyMap"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QString::fromLatin1(kFileFilter));
  dialog.setDefaultSuffix(QStringLiteral("ckd"));
  const std::string folder = KeyMapDialogFolder(*controller_, *state_);
  if (!folder.empty())
    dialog.setDirectory(PathFromNarrow(folder));
  if (!controller_->document().isNew())
    dialog.selectFile(PathFromNarrow(controller_->document().path()));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return false;
  const SaveOutcome outcome = controller_->SaveAs(PathToNarrow(dialog.selectedFiles().front()));
  if (!outcome.saved)
    QMessageBox::warning(this, QString::fromLatin1(kBoxTitle), Text(outcome.message));
  return outcome.saved;
}

void TfrmKeyMap::NewDocument() {
  if (MayDropDocument())
    MakeNewDocument();
}

void TfrmKeyMap::MakeNewDocument() {
  QStringList names;
  const auto models = NewFileModels();
  for (const NewFileModel& model : models)
    names.push_back(QStringLiteral("%1 (%2 keys)").arg(Text(model.name)).arg(model.keyCount));
  bool chosen = false;
  const QString name = QInputDialog::getItem(this, QStringLiteral("New Key Definitions"),
                                             QStringLiteral("Keypad model:"), names,
                                             SuggestedNewFileModel(*state_), false, &chosen);
  const auto index = names.indexOf(name);
  if (!chosen || index < 0)
    return;
  controller_->NewFile(models[static_cast<std::size_t>(index)]);
}

void TfrmKeyMap::OpenDocument() {
  if (!MayDropDocument())
    return;
  QFileDialog dialog(this, QStringLiteral("Open Key Definitions"));
  dialog.setObjectName(QStringLiteral("dlgOpenKeyMap"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(QString::fromLatin1(kFileFilter));
  const std::string folder = KeyMapDialogFolder(*controller_, *state_);
  if (!folder.empty())
    dialog.setDirectory(PathFromNarrow(folder));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return;
  std::string error;
  if (!controller_->OpenFile(PathToNarrow(dialog.selectedFiles().front()), error))
    QMessageBox::warning(this, QString::fromLatin1(kBoxTitle), Text(error));
}

void TfrmKeyMap::ToggleRecording(QtKeyLevelEditor& editor) {
  if (controller_ == nullptr)
    return;
  if (!recorder_->recording()) {
    if (gate_.busy() || !controller_->selectedKey())
      return;
    recordingLevel_ = &editor;
    editor.SetRecording(true);
    recorder_->Start(*editor.recordButton());
    statusBar()->showMessage(
        QStringLiteral("Recording: press the keys, then click Stop (every key is recorded, "
                       "Esc and Enter too)."));
    ShowControllerState();
    return;
  }
  if (&editor != recordingLevel_)
    return;
  const std::vector<RecordedKeyEvent> taken = recorder_->Stop();
  const int unknownKeys = recorder_->unknownKeys();
  editor.SetRecording(false);
  recordingLevel_ = nullptr;
  statusBar()->clearMessage();
  std::vector<RecordedKey> keys;
  keys.reserve(taken.size());
  for (const RecordedKeyEvent& event : taken)
    keys.push_back({event.press, static_cast<std::uint16_t>(event.evdevCode)});
  const int level = editor.level();
  Run([this, level, &keys] {
    if (const std::optional<int> key = controller_->selectedKey())
      Tell(controller_->SetRecorded(*key, level, keys));
  });
  if (unknownKeys > 0)
    statusBar()->showMessage(
        QStringLiteral("%1 key(s) reported no scan code and were not recorded.").arg(unknownKeys));
}

void TfrmKeyMap::CancelRecording() {
  if (!recorder_->recording())
    return;
  recorder_->Stop();
  recordingLevel_->SetRecording(false);
  recordingLevel_ = nullptr;
  statusBar()->clearMessage();
  ShowControllerState();
}

void TfrmKeyMap::ShowRecordingSoFar() {
  if (recordingLevel_ == nullptr)
    return;
  std::vector<SequenceChip> chips;
  for (const RecordedKeyEvent& event : recorder_->events()) {
    SequenceChip chip;
    chip.kind = event.press ? SequenceChip::Kind::Press : SequenceChip::Kind::Release;
    const ScanCodeKey* key = FindKeyByEvdev(static_cast<std::uint16_t>(event.evdevCode));
    const QString name =
        key != nullptr ? Text(key->name) : QStringLiteral("key %1").arg(event.evdevCode);
    chip.text = (event.press ? QStringLiteral("\u2193") : QStringLiteral("\u2191")) + name;
    if (key == nullptr)
      chip.kind = SequenceChip::Kind::Other;
    chips.push_back(chip);
  }
  recordingLevel_->SetRecording(true, chips);
}

void TfrmKeyMap::TypeText(int level) {
  const std::optional<int> key = controller_->selectedKey();
  if (!key)
    return;
  bool entered = false;
  const QString text = QInputDialog::getMultiLineText(
      this, QStringLiteral("Type Text"),
      QStringLiteral("The text key %1 types on level %2 (US keyboard layout):")
          .arg(*key)
          .arg(level),
      QString(), &entered);
  if (!entered)
    return;
  Tell(controller_->SetTypedText(*key, level, Narrow(text)));
}

void TfrmKeyMap::ChooseKey(int level) {
  const std::optional<int> key = controller_->selectedKey();
  if (!key)
    return;
  std::vector<ChoosableKey> keys;
  for (const ScanCodeKey& named : KeyMapController::ChoosableKeys())
    keys.push_back({Text(named.name), CodesOf(named)});
  const std::optional<QString> chord = QtChooseKeyDialog::Ask(keys, this);
  if (!chord)
    return;
  Tell(AppendChord(*controller_, *key, level, Narrow(*chord)));
}

void TfrmKeyMap::SetGlobalFromTable(int row, int column) {
  if (showingGlobals_ || column != 1)
    return;
  const QTableWidgetItem* name = tblGlobals_->item(row, 0);
  const QTableWidgetItem* value = tblGlobals_->item(row, 1);
  if (name == nullptr || value == nullptr)
    return;
  const std::string settingName = Narrow(name->text());
  const std::string settingValue = Narrow(value->text());
  // Shown again only once the cell's editor has closed.
  QMetaObject::invokeMethod(
      this,
      [this, settingName, settingValue] {
        Run([this, &settingName, &settingValue] {
          Tell(controller_->SetGlobal(settingName, settingValue));
        });
      },
      Qt::QueuedConnection);
}

}  // namespace tdxx
