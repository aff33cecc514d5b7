#pragma once

#include <QCursor>
#include <QMainWindow>
#include <array>
#include <map>
#include <memory>
#include <span>

#include "canvas/CanvasLogic.h"
#include "canvas/SelectTool.h"
#include "model/LevelPack.h"

class CCanvasWidget;
class CEditWatch;
class CFileCommands;
class CFrameHistory;
class CFrameSession;
class CLevelBarLogic;
class CLevelCommands;
class CPictureCommands;
class COverviewPanel;
class CProblemsPanel;
class CScreenFrame;
class CStatusFields;
class IFrameEffects;
class CUpDown;
class IPlatform;
class QAction;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QScrollBar;
class QToolBar;

// The editor's only window: owner of the level pack and the canvas. Along
// its top stand six movable bars (level number, level name, passcode, object
// toolbar, pen toolbar, resize bar); below them the canvas with its two
// scroll bars, and a status bar at the bottom. Every menu item, toolbar
// button and edit change goes through OnCommand. The frame deletes itself
// when its window closes, releasing every level.
class CEditorFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CEditorFrame(IPlatform& platform, QWidget* parent = nullptr);
  ~CEditorFrame() override;

  // ---- Command routing ----
  // Takes a placement preview out of the terrain, then dispatches by command
  // ID. `notifyCode` is the edit notification for the bars' edits (the
  // menu and toolbar commands ignore it). Unknown IDs do nothing.
  void OnCommand(int id, int notifyCode = 0);
  // An up-down of the level number or resize bar proposes `delta`.
  void OnNotify(int controlId, int delta);
  // One of the four pen commands: that pen becomes the tool, and its button
  // the only checked pen button.
  void OnSelectPen(int id);
  // Placement of an entrance, exit or metal block becomes the tool.
  void ChoosePlacementTool(int id);
  // One of the tool bar's tools becomes the tool.
  void ChooseTool(int id);
  // Checks the button of the pen chosen last and the tool bar's button of
  // the tool in force (or of the tool a placement gives back), and names the
  // tool in the status bar.
  void UpdateToolButtons();
  // The status bar's words for the tool in force.
  QString ToolStatusText();
  // Shows the canvas's zoom in the status bar and the View menu (Zoom In and
  // Zoom Out enabled where there is a level to go to, Show Grid checked).
  void UpdateZoomDisplay();

  // ---- Handlers reached from OnCommand / OnNotify ----
  // File commands.
  virtual void OnFileNew();
  virtual void OnFileSave();
  virtual void OnFileSaveAs();
  virtual void OnFileLoad();
  // Dialogs.
  virtual void OnSetSecurityInfo();
  virtual void OnReorderLevels();
  virtual void OnPopulation();
  virtual void OnAbout();
  virtual void OnTips();
  // Level bar edits.
  virtual void OnLevelNameChange();
  virtual void OnPasscodeChange();
  // Asks, then puts the current level back to its defaults.
  virtual void OnResetLevel();
  void RemoveLastBlock();

  // Shows the current level's number, name and passcode in the bars without
  // touching the modified flag.
  void UpdateLevelBars();
  // Re-clamps the view, resets the scroll bars, repaints the canvas and
  // updates the level bars.
  void RefreshView();
  // The same without the level bars.
  void ClampAndInvalidate();
  // Moves the view origin by (dx, dy) logical pixels; a clamp must follow.
  void ShiftOrigin(int dx, int dy);
  // A passing note in the status bar. It goes after its time, at the next
  // edit of the pack, and, shown while the pack was unmodified ("Saved"),
  // once the pack is modified.
  void ShowStatus(const QString& text);
  // Brings the window title (file name, "*" while modified) and the status
  // bar's level size and encoded pack size up to date.
  void UpdatePackInfo();
  // "of N" beside the level number.
  void UpdateLevelCount();
  void ShowCalculatorName(const QString& name);

  // Opens the pack file at `path` as Load opens it (after the "Save
  // changes?" question when the pack is modified): from the command line,
  // a drop or File > Open Recent.
  void OpenFile(const QString& path);

  // ---- Parts, for the handlers and for tests ----
  CLevelPack& Pack() { return m_pack; }
  IPlatform& Platform() { return m_platform; }
  CCanvasWidget& Canvas() { return *m_pCanvas; }
  CCanvasLogic& Logic();
  QAction* Action(int id) const;  // a menu or toolbar command's action
  QToolBar* ObjectBar() const { return m_wndObjectBar; }
  QToolBar* PenBar() const { return m_wndPenBar; }
  QToolBar* ToolBar() const { return m_wndToolBar; }
  QLineEdit* LevelNumberEdit() const { return m_pLevelNumberEdit; }
  QLineEdit* LevelNameEdit() const { return m_pLevelNameEdit; }
  QLineEdit* PasscodeEdit() const { return m_pPasscodeEdit; }
  CUpDown* LevelNumberSpin() const { return m_pLevelSpin; }
  CUpDown* WidthSpin() const { return m_pWidthSpin; }
  CUpDown* HeightSpin() const { return m_pHeightSpin; }
  CFileCommands& FileCommands() { return *m_pFiles; }
  // Recent files, drops, the settings, crash recovery, Send to Calculator.
  CFrameSession& Session() { return *m_pSession; }
  // The undo history of the pack and the Edit menu's side of it.
  CFrameHistory& History() { return *m_pHistory; }
  // The Problems dock and its count in the status bar.
  CProblemsPanel& Problems() { return *m_pProblems; }
  // Counts the edits of the pack, for what stands until the next one.
  CEditWatch& Edits() { return *m_pEdits; }
  // The Overview dock and the calculator screen's frame over the canvas.
  COverviewPanel& Overview() { return *m_pOverview; }
  CScreenFrame& ScreenFrame() { return *m_pScreenFrame; }
  // View > Classic Colours (on at first) and View > Calculator Screen (off
  // at first), with their menu items' checks.
  void SetClassicColours(bool on);
  bool ClassicColours() const;
  void SetCalculatorScreen(bool on);
  bool CalculatorScreen() const;
  // The status bar's fields: the pointer's level pixel, the current level's
  // size and the encoded size of the pack.
  QLabel* PixelLabel() const { return m_pPixelLabel; }
  // The canvas's zoom ("4x"), left of the pixel.
  QLabel* ZoomLabel() const { return m_pZoomLabel; }
  QLabel* LevelSizeLabel() const { return m_pSizeLabel; }
  QLabel* BudgetLabel() const { return m_pBudgetLabel; }
  CStatusFields& StatusFields() { return *m_pStatusFields; }
  QLabel* PackSizeLabel() const { return m_pPackLabel; }
  // "of 3" beside the level number: the pack's level count.
  QLineEdit* LevelCountLabel() const { return m_pCountLabel; }
  // The pack's program name on the calculator, after a save or a load.
  QLabel* CalculatorNameLabel() const { return m_pCalculatorLabel; }
  // The status bar's field that names the tool in force.
  QLabel* ToolLabel() const { return m_pToolLabel; }
  const QCursor& ToolCursorShape(ToolCursor tool) const {
    return m_cursors[static_cast<std::size_t>(tool)];
  }

 protected:
  // The window's close box and File > Exit: asks about unsaved changes.
  void closeEvent(QCloseEvent* event) override;
  // Takes a placement preview away; true when the window may close.
  virtual bool OnClose();
  // Follows the pointer over the canvas for the status bar, and the mouse
  // buttons, whose strokes and placements change the pack.
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Files dropped onto the window.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateMenu();
  void CreateBars();
  void CreateCanvas();
  void LoadCursors();
  void CreateStatusBar();
  void SetShortcuts();
  QAction* AddCommand(QWidget* owner, const QString& text, int id);
  // A toolbar button: its command, image, name and single key (0: none).
  struct ToolButton {
    int id;
    const char* image;
    const char* name;
    int key;
  };
  // Adds image-only buttons. With `tooltips` each names its tool and key;
  // without, the name is kept for assistive tools and the shortcut list only.
  void AddToolButtons(QToolBar* bar, std::span<const ToolButton> buttons,
                      QSize size, bool checkable, bool tooltips);
  void OnDestroy();
  void CreateToolBar();
  // The up-downs' arrows say which way each changes the level or its size.
  void SetArrowToolTips();
  // Where the keyboard goes from the bars' edits (Enter, Escape, refusals).
  void WatchBarKeys();
  void CreateToolKeys();
  // Before command `id`: a shape being dragged is dropped and a floating
  // selection committed, so nothing half-done meets the command.
  void SettleCanvas(int id);
  // Writes a floating selection into the level as one step.
  void CommitFloat();
  // Edit > Copy puts the selected pixels on the editor's clipboard and the
  // system's (as a picture); Paste floats them in the level.
  void OnEditCopy();
  void OnEditPaste();
  // Enter and the arrows over the canvas; true when the tool used the key.
  bool OnCanvasKey(const QKeyEvent& key);
  // Escape: drops a shape being dragged, ends a placement.
  void OnCancelKey();
  // The View menu's zoom and grid commands; false for any other id.
  bool OnViewCommand(int id);

  IPlatform& m_platform;
  CLevelPack m_pack;
  // The level bar and the file commands, with the window effects they ask
  // for. They hold references to the pack and the frame only.
  std::unique_ptr<IFrameEffects> m_pEffects;
  std::unique_ptr<CLevelBarLogic> m_pLevelBar;
  std::unique_ptr<CFileCommands> m_pFiles;
  std::unique_ptr<CLevelCommands> m_pLevels;  // duplicate, copy, paste, size
  std::unique_ptr<CPictureCommands> m_pPictures;  // import and export
  std::unique_ptr<CFrameSession> m_pSession;  // goes before the file commands

  QToolBar* m_wndLevelNumberBar = nullptr;
  QToolBar* m_wndLevelNameBar = nullptr;
  QToolBar* m_wndPasscodeBar = nullptr;
  QToolBar* m_wndObjectBar = nullptr;
  QToolBar* m_wndPenBar = nullptr;
  QToolBar* m_wndResizeBar = nullptr;
  QToolBar* m_wndToolBar = nullptr;
  QLineEdit* m_pLevelNumberEdit = nullptr;
  QLineEdit* m_pLevelNameEdit = nullptr;
  QLineEdit* m_pPasscodeEdit = nullptr;
  CUpDown* m_pLevelSpin = nullptr;
  CUpDown* m_pWidthSpin = nullptr;
  CUpDown* m_pHeightSpin = nullptr;
  CCanvasWidget* m_pCanvas = nullptr;
  QScrollBar* m_pHScroll = nullptr;
  QScrollBar* m_pVScroll = nullptr;
  QLabel* m_pPixelLabel = nullptr;
  QLabel* m_pZoomLabel = nullptr;
  QLabel* m_pSizeLabel = nullptr;
  QLabel* m_pBudgetLabel = nullptr;
  CStatusFields* m_pStatusFields = nullptr;
  QLabel* m_pPackLabel = nullptr;
  QLineEdit* m_pCountLabel = nullptr;
  QLabel* m_pCalculatorLabel = nullptr;
  QLabel* m_pToolLabel = nullptr;

  // The tools' cursors in ToolCursor order: small black, large black, small
  // white, large white pen, placement, then the tools of the tool bar.
  std::array<QCursor, kToolCount> m_cursors;
  std::map<int, QAction*> m_actions;
  CFrameHistory* m_pHistory = nullptr;  // undo and redo of every edit
  CProblemsPanel* m_pProblems = nullptr;
  std::unique_ptr<CEditWatch> m_pEdits;
  unsigned m_nNoteEdits = 0;      // the edit count when the note was shown
  bool m_bNoteOverClean = false;  // the note was shown on an unmodified pack
  bool m_bNoteSettling = false;   // the note's action is not over yet
  COverviewPanel* m_pOverview = nullptr;
  CScreenFrame* m_pScreenFrame = nullptr;
  TerrainClip m_clip;       // the pixels copied last, for any level
  bool m_bClosing = false;  // the close request was accepted
};
