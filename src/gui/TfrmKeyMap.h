#pragma once

#include <QMainWindow>
#include <functional>
#include <string>

#include "gui/QtCommandGate.h"

class QAction;
class QComboBox;
class QFileDialog;
class QLabel;
class QKeySequence;
class QListWidget;
class QMenu;
class QTableWidget;

namespace tdxx {

class KeyMapController;
class QtKeyCapGrid;
class QtKeyLevelEditor;
class QtKeyRecorder;
struct EditResult;
struct MainWindowState;

// The Key Map window: the keys of a key-definition file as caps in key-number order, the global
// settings beside them, the selected key's two levels for editing, and what the keypad will not
// get. One instance lives for the whole run beside the main window. Every decision is
// KeyMapController's: the window forwards what the person does and shows the controller's state
// afterwards; the only thing it does itself is take the keyboard while recording.
class TfrmKeyMap final : public QMainWindow {
  Q_OBJECT
 public:
  explicit TfrmKeyMap(QWidget* mainWindow);
  ~TfrmKeyMap() override;

  // Wires the controller and the main window's state it reads, once. Before, the window opens
  // on nothing.
  void Attach(KeyMapController& controller, const MainWindowState& state);

  // Options > "Key Map...": shows the window on the main window's loaded key-definition file,
  // or on a new file when none is loaded. Unsaved changes to another file are asked about first.
  void ShowForLoadedFile();
  // tdxxload --keys FILE: shows the window on FILE; a file that cannot be read is said in a box.
  void ShowFile(const std::string& path);

  // The main window is closing (Exit): asks about unsaved changes. False when the person keeps
  // the window (Cancel, or a save that failed).
  bool AgreeToClose();

  // The controls, for tests (made first when the window has not been shown yet).
  QtKeyCapGrid* grid() {
    EnsureContents();
    return grid_;
  }
  QtKeyLevelEditor* levelEditor(int level) {
    EnsureContents();
    return level == 1 ? level1_ : level2_;
  }
  QtKeyRecorder* recorder() const { return recorder_; }

  // The menus and controls are made at the first showing, so that a run that never opens the
  // Key Map pays nothing for them at start.
  void setVisible(bool visible) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QAction* AddAction(QMenu& menu, const char* name, const char* text, const QKeySequence& shortcut,
                     const std::function<void()>& handler);
  void EnsureContents();
  void BuildMenus();
  void BuildCentre();
  void ConnectLevel(QtKeyLevelEditor& editor);

  // Runs a handler through the window's gate (one at a time), then shows the controller's state.
  void Run(const std::function<void()>& handler);
  // Shows the refusal of an edit in a box.
  void Tell(const EditResult& result);
  // Shows everything the controller says the window shows.
  void ShowControllerState();
  void ShowCaps();
  void ShowGlobals();
  void FitGlobalsTable();
  void ShowProblems();
  void ShowSelectedKey();
  void ShowWindow();

  // Unsaved changes: Save, Discard or Cancel. True when the document may be dropped.
  bool MayDropDocument();
  // Save, or Save As for a new file; true when saved.
  bool SaveDocument();
  bool SaveDocumentAs();
  void NewDocument();
  // Asks for the model and makes a new file for it, dropping the document without asking.
  void MakeNewDocument();
  void OpenDocument();

  void ToggleRecording(QtKeyLevelEditor& editor);
  // Ends a recording without taking it (the window is closing).
  void CancelRecording();
  void ShowRecordingSoFar();
  void TypeText(int level);
  void ChooseKey(int level);
  void SetGlobalFromTable(int row, int column);

  KeyMapController* controller_ = nullptr;
  const MainWindowState* state_ = nullptr;
  QtCommandGate gate_;
  QtKeyRecorder* recorder_ = nullptr;
  QtKeyLevelEditor* recordingLevel_ = nullptr;
  bool showingGlobals_ = false;

  bool contentsBuilt_ = false;
  QtKeyCapGrid* grid_ = nullptr;
  QTableWidget* tblGlobals_ = nullptr;
  QLabel* lblKey_ = nullptr;
  QComboBox* cmbKeyType_ = nullptr;
  QtKeyLevelEditor* level1_ = nullptr;
  QtKeyLevelEditor* level2_ = nullptr;
  QListWidget* lstProblems_ = nullptr;
  QLabel* lblFile_ = nullptr;
  QAction* actNew_ = nullptr;
  QAction* actOpen_ = nullptr;
  QAction* actSave_ = nullptr;
  QAction* actSaveAs_ = nullptr;
  QAction* actClose_ = nullptr;
  QAction* actUndo_ = nullptr;
  QAction* actRedo_ = nullptr;
};

}  // namespace tdxx
