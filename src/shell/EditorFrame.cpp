#include "shell/EditorFrame.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "canvas/CanvasWidget.h"
#include "canvas/ObjectTool.h"
#include "canvas/SelectTool.h"
#include "dialogs/DialogSupport.h"
#include "dialogs/HelpDialogs.h"
#include "dialogs/InfoDialogs.h"
#include "dialogs/LevelOrderDlg.h"
#include "dialogs/LevelSizeChecks.h"
#include "dialogs/PopulationDlg.h"
#include "dialogs/SecurityDialogs.h"
#include "packfile/PackFile.h"
#include "shell/Artwork.h"
#include "shell/BarKeys.h"
#include "shell/BarNotes.h"
#include "shell/ClipboardImage.h"
#include "shell/CommandIds.h"
#include "shell/EditWatch.h"
#include "shell/FileCommands.h"
#include "shell/FrameHistory.h"
#include "shell/FrameSession.h"
#include "shell/LevelBarLogic.h"
#include "shell/LevelCommands.h"
#include "shell/OverviewPanel.h"
#include "shell/PasscodeValidator.h"
#include "shell/PictureCommands.h"
#include "shell/ProblemsPanel.h"
#include "shell/ScreenFrame.h"
#include "shell/StatusFields.h"
#include "uikit/Platform.h"
#include "uikit/UpDown.h"

namespace {

constexpr int kFrameLeft = 100;
constexpr int kFrameTop = 100;
constexpr int kFrameWidth = 700;
constexpr int kFrameHeight = 500;

QToolBar* MakeBar(QMainWindow* frame, const QString& title,
                  const QString& name) {
  auto* bar = new QToolBar(title, frame);
  bar->setObjectName(name);
  bar->setMovable(true);  // each bar has its handle and can be moved
  bar->setFloatable(false);
  frame->addToolBar(Qt::TopToolBarArea, bar);
  return bar;
}

ToolCursor PenOfCommand(int id) {
  switch (id) {
    case IDT_PEN_LARGE_BLACK:
      return ToolCursor::LargeBlack;
    case IDT_PEN_SMALL_WHITE:
      return ToolCursor::SmallWhite;
    case IDT_PEN_LARGE_WHITE:
      return ToolCursor::LargeWhite;
    default:
      return ToolCursor::SmallBlack;
  }
}

ToolCursor ToolOfCommand(int id) {
  switch (id) {
    case IDT_TOOL_LINE:
      return ToolCursor::Line;
    case IDT_TOOL_RECTANGLE:
      return ToolCursor::Rectangle;
    case IDT_TOOL_FILLED_RECTANGLE:
      return ToolCursor::FilledRectangle;
    case IDT_TOOL_ELLIPSE:
      return ToolCursor::Ellipse;
    case IDT_TOOL_FILLED_ELLIPSE:
      return ToolCursor::FilledEllipse;
    case IDT_TOOL_FILL:
      return ToolCursor::Fill;
    case IDT_TOOL_SELECT:
      return ToolCursor::Select;
    default:
      return ToolCursor::MoveObject;
  }
}

// The keys a bar's text edit keeps for itself while it has the keyboard:
// typing, editing and moving in the text, and the clipboard.
bool IsEditKey(const QKeyEvent& key) {
  const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
  if (mods == Qt::ControlModifier) {
    switch (key.key()) {
      case Qt::Key_A:
      case Qt::Key_C:
      case Qt::Key_V:
      case Qt::Key_X:
        return true;
      default:
        return false;
    }
  }
  if ((mods & ~Qt::ShiftModifier) != 0) return false;
  switch (key.key()) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return true;
    default: {
      const QString text = key.text();
      return !text.isEmpty() && text.at(0).isPrint();
    }
  }
}

const QString kAppTitle = QStringLiteral("Plodderz Level File Maker");

// What the level bar and the file commands ask of the window.
class FrameEffects final : public IFrameEffects {
 public:
  FrameEffects(CEditorFrame& frame, IPlatform& platform, CLevelPack& pack)
      : m_frame(frame), m_platform(platform), m_pack(pack) {}

  void RefreshView() override { m_frame.RefreshView(); }
  void UpdateLevelBars() override { m_frame.UpdateLevelBars(); }
  void ClampAndInvalidate() override { m_frame.ClampAndInvalidate(); }
  void ShiftOrigin(int dx, int dy) override { m_frame.ShiftOrigin(dx, dy); }
  bool RunSecurityDialog() override {
    return ::RunSecurityDialog(m_platform, &m_frame, m_pack) ==
           QDialog::Accepted;
  }
  bool RunPasswordPrompt(const std::string& expected) override {
    // The prompt compares with this text until it closes.
    return ::RunPasswordPrompt(m_platform, &m_frame, expected.c_str()) ==
           QDialog::Accepted;
  }
  void ShowStatus(const QString& text) override { m_frame.ShowStatus(text); }
  void PackWritten() override {
    m_frame.History().OnPackSaved();
    m_frame.Problems().PackWritten();
  }
  void ShowCalculatorName(const QString& name) override {
    m_frame.ShowCalculatorName(name);
  }
  void ShowProblems() override { m_frame.Problems().show(); }

 private:
  CEditorFrame& m_frame;
  IPlatform& m_platform;
  CLevelPack& m_pack;
};

}  // namespace

CEditorFrame::CEditorFrame(IPlatform& platform, QWidget* parent)
    : QMainWindow(parent), m_platform(platform) {
  // The frame is the program's document: closing its window ends it.
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(kAppTitle);
  setWindowIcon(artwork::WindowIcon());

  // A fresh one-level pack first: the canvas and the bars show its level.
  // Without a first level there is nothing to edit, so the program ends.
  if (!m_pack.NewPack()) {
    m_platform.MessageBox(this, QStringLiteral("Not enough memory!"),
                          QStringLiteral("Level Addition Error"),
                          IPlatform::Buttons::Ok, IPlatform::Icon::Exclamation);
    std::exit(0);
  }
  m_pEdits = std::make_unique<CEditWatch>(m_pack);
  m_pEffects = std::make_unique<FrameEffects>(*this, m_platform, m_pack);
  m_pLevelBar =
      std::make_unique<CLevelBarLogic>(m_pack, m_platform, *m_pEffects, this);
  m_pFiles =
      std::make_unique<CFileCommands>(m_pack, m_platform, *m_pEffects, this);
  m_pLevels = std::make_unique<CLevelCommands>(*this);
  m_pPictures = std::make_unique<CPictureCommands>(*this);
  m_pSession = std::make_unique<CFrameSession>(*this);
  m_pHistory = new CFrameHistory(*this, m_pack);
  setAcceptDrops(true);
  CreateMenu();
  SetShortcuts();
  CreateToolKeys();
  CreateBars();
  CreateCanvas();
  CreateStatusBar();
  UpdateZoomDisplay();
  m_pLevelSpin->SetPos(1);

  m_pLevelNameEdit->setMaxLength(NAME_CHARS);
  m_pPasscodeEdit->setMaxLength(PASSCODE_CHARS);
  const auto note = [this](const QString& text) { ShowStatus(text); };
  barnotes::NoteRefusedInput(*m_pLevelNameEdit, barnotes::kNameFull, note);
  barnotes::NoteRefusedInput(*m_pPasscodeEdit, barnotes::kPasscodeFull, note);
  WatchBarKeys();
  m_pLevelSpin->SetRange(0, MAX_LEVELS);

  LoadCursors();
  // The small black pen is the tool; its button is the checked one.
  OnSelectPen(IDT_PEN_SMALL_BLACK);

  RefreshView();
  m_pack.m_szFilePath.clear();
  m_pack.m_bModified = false;
  m_pHistory->Attach();
  connect(m_pHistory, &CFrameHistory::stateChanged, this,
          &CEditorFrame::UpdatePackInfo);
  UpdatePackInfo();

  // 700 x 500 at (100, 100), as far as the desktop allows.
  QRect frame(kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect desk = screen->availableGeometry();
    frame.setWidth(std::min(frame.width(), desk.width()));
    frame.setHeight(std::min(frame.height(), desk.height()));
    frame.moveLeft(std::clamp(frame.left(), desk.left(),
                              desk.right() + 1 - frame.width()));
    frame.moveTop(std::clamp(frame.top(), desk.top(),
                             desk.bottom() + 1 - frame.height()));
  }
  resize(frame.size());
  move(frame.topLeft());
}

CEditorFrame::~CEditorFrame() {
  // The history watches the canvas and the bars' edits, which still report
  // events while the window goes: it goes first, then the canvas, which
  // refers to the pack, then the levels.
  delete m_pHistory;
  m_pHistory = nullptr;
  delete m_pCanvas;
  m_pCanvas = nullptr;
  OnDestroy();
}

void CEditorFrame::OnDestroy() { m_pack.DeleteAllLevels(); }

QAction* CEditorFrame::AddCommand(QWidget* owner, const QString& text, int id) {
  auto* action = new QAction(text, owner);
  owner->addAction(action);
  connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
  m_actions[id] = action;
  return action;
}

QAction* CEditorFrame::Action(int id) const {
  const auto it = m_actions.find(id);
  return it == m_actions.end() ? nullptr : it->second;
}

void CEditorFrame::CreateMenu() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  AddCommand(file, QStringLiteral("&New"), IDM_FILE_NEW);
  AddCommand(file, QStringLiteral("&Save"), IDM_FILE_SAVE);
  AddCommand(file, QStringLiteral("Save &As..."), IDM_FILE_SAVE_AS);
  AddCommand(file, QStringLiteral("&Load..."), IDM_FILE_LOAD);
  m_pSession->AddRecentMenu(file);
  AddCommand(file, QStringLiteral("Sen&d to Calculator..."),
             IDM_FILE_SEND_TO_CALCULATOR);
  file->addSeparator();
  AddCommand(file, QStringLiteral("&Import Terrain Image..."),
             IDM_FILE_IMPORT_IMAGE);
  AddCommand(file, QStringLiteral("E&xport Level Image..."),
             IDM_FILE_EXPORT_IMAGE);
  AddCommand(file, QStringLiteral("Export A&ll Levels..."),
             IDM_FILE_EXPORT_ALL);
  file->addSeparator();
  AddCommand(file, QStringLiteral("Set Security &Info..."), IDM_FILE_SECURITY);
  AddCommand(file, QStringLiteral("&Reorder Levels..."), IDM_FILE_REORDER);
  file->addSeparator();
  AddCommand(file, QStringLiteral("&Exit"), IDM_FILE_EXIT);
  // Edit: the pack's undo history. The items name the step they would undo
  // or redo and are enabled only when there is one.
  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
  QAction* undo = AddCommand(edit, QStringLiteral("&Undo"), IDM_EDIT_UNDO);
  undo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
  QAction* redo = AddCommand(edit, QStringLiteral("&Redo"), IDM_EDIT_REDO);
  redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y),
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  // Their texts name the step; the shortcut list names the commands.
  undo->setIconText(QStringLiteral("Undo"));
  redo->setIconText(QStringLiteral("Redo"));
  // The selection: terrain only, through the clipboard.
  edit->addSeparator();
  AddCommand(edit, QStringLiteral("Cu&t"), IDM_EDIT_CUT)
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
  AddCommand(edit, QStringLiteral("&Copy"), IDM_EDIT_COPY)
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  AddCommand(edit, QStringLiteral("&Paste"), IDM_EDIT_PASTE)
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
  AddCommand(edit, QStringLiteral("&Delete"), IDM_EDIT_DELETE)
      ->setShortcut(QKeySequence(Qt::Key_Delete));
  edit->addSeparator();
  AddCommand(edit, QStringLiteral("Select &All"), IDM_EDIT_SELECT_ALL)
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
  edit->addSeparator();
  AddCommand(edit, QStringLiteral("Flip &Horizontal"), IDM_EDIT_FLIP_HORIZONTAL)
      ->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_H));
  AddCommand(edit, QStringLiteral("Flip &Vertical"), IDM_EDIT_FLIP_VERTICAL)
      ->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_V));
  // View: the docks beside the canvas.
  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  AddCommand(view, QStringLiteral("&Problems"), IDM_VIEW_PROBLEMS)
      ->setCheckable(true);
  AddCommand(view, QStringLiteral("&Overview"), IDM_VIEW_OVERVIEW)
      ->setCheckable(true);
  // How the level is drawn over the canvas.
  view->addSeparator();
  QAction* classic = AddCommand(view, QStringLiteral("&Classic Colours"),
                                IDM_VIEW_CLASSIC_COLOURS);
  classic->setCheckable(true);
  classic->setChecked(true);
  AddCommand(view, QStringLiteral("Calculator &Screen"),
             IDM_VIEW_CALCULATOR_SCREEN)
      ->setCheckable(true);
  // The canvas's zoom, around the canvas's centre; Ctrl+wheel zooms around
  // the pointer.
  view->addSeparator();
  AddCommand(view, QStringLiteral("Zoom &In"), IDM_VIEW_ZOOM_IN)
      ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus),
                      QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  AddCommand(view, QStringLiteral("Zoom &Out"), IDM_VIEW_ZOOM_OUT)
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
  AddCommand(view, QStringLiteral("&Actual Size"), IDM_VIEW_ACTUAL_SIZE)
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  AddCommand(view, QStringLiteral("&Fit Level"), IDM_VIEW_FIT_LEVEL)
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_9));
  QAction* grid =
      AddCommand(view, QStringLiteral("Show &Grid"), IDM_VIEW_SHOW_GRID);
  grid->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  grid->setCheckable(true);
  grid->setChecked(true);
  // Level: whole levels, beside the level number's arrows and the level
  // order dialog.
  QMenu* level = menuBar()->addMenu(QStringLiteral("&Level"));
  AddCommand(level, QStringLiteral("&Add Level"), IDM_LEVEL_ADD);
  AddCommand(level, QStringLiteral("D&uplicate Level"), IDM_LEVEL_DUPLICATE)
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
  AddCommand(level, QStringLiteral("&Delete Level"), IDM_LEVEL_DELETE);
  level->addSeparator();
  AddCommand(level, QStringLiteral("&Copy Level"), IDM_LEVEL_COPY)
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
  AddCommand(level, QStringLiteral("&Paste Level"), IDM_LEVEL_PASTE)
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
  level->addSeparator();
  AddCommand(level, QStringLiteral("Level &Size..."), IDM_LEVEL_SIZE);
  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  AddCommand(help, QStringLiteral("&User Guide"), IDM_HELP_GUIDE);
  AddCommand(help, QStringLiteral("&Keyboard Shortcuts"), IDM_HELP_SHORTCUTS);
  help->addSeparator();
  AddCommand(help, QStringLiteral("&Tips..."), IDM_HELP_TIPS);
  AddCommand(help, QStringLiteral("&About..."), IDM_HELP_ABOUT);
}

void CEditorFrame::SetShortcuts() {
  const struct {
    int id;
    QKeySequence keys;
  } shortcuts[] = {
      {IDM_FILE_NEW, QKeySequence(Qt::CTRL | Qt::Key_N)},
      {IDM_FILE_LOAD, QKeySequence(Qt::CTRL | Qt::Key_O)},
      {IDM_FILE_SAVE, QKeySequence(Qt::CTRL | Qt::Key_S)},
      {IDM_FILE_SAVE_AS, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
      {IDM_FILE_EXIT, QKeySequence(Qt::CTRL | Qt::Key_Q)},
      {IDM_HELP_TIPS, QKeySequence(Qt::Key_F1)},
  };
  for (const auto& s : shortcuts) {
    if (QAction* action = Action(s.id)) action->setShortcut(s.keys);
  }
}

void CEditorFrame::CreateStatusBar() {
  // Passing notes show on the left, the fields on the right. Where the bar
  // is narrow, the fields of lower rank give way to a note while it stands:
  // the calculator name first, then the tool, the zoom, the budget and the
  // problem count; the pixel, the level size and the pack size always stay.
  QStatusBar* bar = statusBar();
  m_pStatusFields = new CStatusFields(*bar);
  m_pCalculatorLabel = new QLabel(bar);
  m_pCalculatorLabel->setToolTip(
      QStringLiteral("The pack's program name on the calculator"));
  m_pToolLabel = new QLabel(bar);
  m_pPixelLabel = new QLabel(bar);
  m_pPixelLabel->setMinimumWidth(
      fontMetrics().horizontalAdvance(QStringLiteral("Pixel: 000, 000")));
  m_pZoomLabel = new QLabel(bar);
  m_pZoomLabel->setObjectName(QStringLiteral("zoomLabel"));
  m_pZoomLabel->setToolTip(QStringLiteral("Zoom"));
  m_pSizeLabel = new QLabel(bar);
  m_pBudgetLabel = new QLabel(bar);
  m_pBudgetLabel->setToolTip(QStringLiteral(
      "The level's bitmap: bytes used of the most a level holds"));
  m_pPackLabel = new QLabel(bar);
  m_pStatusFields->Add(m_pCalculatorLabel, statusrank::kCalculator);
  m_pStatusFields->Add(m_pToolLabel, statusrank::kTool);
  m_pStatusFields->Add(m_pZoomLabel, statusrank::kZoom);
  m_pStatusFields->Add(m_pPixelLabel, CStatusFields::kKept);
  m_pStatusFields->Add(m_pSizeLabel, CStatusFields::kKept);
  m_pStatusFields->Add(m_pBudgetLabel, statusrank::kBudget);
  m_pStatusFields->Add(m_pPackLabel, CStatusFields::kKept);
  m_pCanvas->installEventFilter(this);
  m_pProblems = new CProblemsPanel(*this);
  connect(m_pProblems, &QDockWidget::visibilityChanged, this, [this] {
    Action(IDM_VIEW_PROBLEMS)->setChecked(m_pProblems->isVisible());
  });
  m_pOverview = new COverviewPanel(m_pack, *m_pCanvas, this);
  addDockWidget(Qt::RightDockWidgetArea, m_pOverview);
  m_pOverview->hide();
  connect(m_pOverview, &QDockWidget::visibilityChanged, this, [this] {
    Action(IDM_VIEW_OVERVIEW)->setChecked(m_pOverview->isVisible());
  });
  m_pScreenFrame = new CScreenFrame(m_pack, *m_pCanvas);
}

void CEditorFrame::SetClassicColours(bool on) {
  m_pCanvas->SetClassicColours(on);
  Action(IDM_VIEW_CLASSIC_COLOURS)->setChecked(on);
}

bool CEditorFrame::ClassicColours() const {
  return m_pCanvas->ClassicColours();
}

void CEditorFrame::SetCalculatorScreen(bool on) {
  m_pScreenFrame->SetEnabled(on);
  Action(IDM_VIEW_CALCULATOR_SCREEN)->setChecked(on);
}

bool CEditorFrame::CalculatorScreen() const {
  return m_pScreenFrame->Enabled();
}

void CEditorFrame::CreateBars() {
  // Level number: a read-only number with its up-down.
  m_wndLevelNumberBar = MakeBar(this, QStringLiteral("Level Number"),
                                QStringLiteral("levelNumber"));
  m_pLevelNumberEdit = new QLineEdit(m_wndLevelNumberBar);
  m_pLevelNumberEdit->setReadOnly(true);
  m_pLevelNumberEdit->setFixedWidth(36);
  m_pLevelNumberEdit->setAlignment(Qt::AlignRight);
  m_pLevelSpin = new CUpDown(Qt::Vertical, m_wndLevelNumberBar);
  m_pLevelSpin->SetBuddy(m_pLevelNumberEdit);
  m_wndLevelNumberBar->addWidget(m_pLevelNumberEdit);
  m_wndLevelNumberBar->addWidget(m_pLevelSpin);
  m_pCountLabel = barnotes::AddLevelCount(*m_wndLevelNumberBar);

  // Level name.
  m_wndLevelNameBar =
      MakeBar(this, QStringLiteral("Level Name"), QStringLiteral("levelName"));
  m_wndLevelNameBar->addWidget(
      new QLabel(QStringLiteral("Level Name:"), m_wndLevelNameBar));
  m_pLevelNameEdit = new QLineEdit(m_wndLevelNameBar);
  // Only what a pack can store can be typed or pasted.
  m_pLevelNameEdit->setValidator(
      new CPrintableAsciiValidator(m_pLevelNameEdit));
  m_pLevelNameEdit->setFixedWidth(190);
  m_wndLevelNameBar->addWidget(m_pLevelNameEdit);

  // Passcode: typed letters become capitals.
  m_wndPasscodeBar =
      MakeBar(this, QStringLiteral("Passcode"), QStringLiteral("passcode"));
  m_wndPasscodeBar->addWidget(
      new QLabel(QStringLiteral("Passcode:"), m_wndPasscodeBar));
  m_pPasscodeEdit = new QLineEdit(m_wndPasscodeBar);
  m_pPasscodeEdit->setValidator(new CUpperCaseValidator(m_pPasscodeEdit));
  m_pPasscodeEdit->setFixedWidth(64);
  m_wndPasscodeBar->addWidget(m_pPasscodeEdit);

  // Object toolbar: six push buttons. The toolbars start on a second row, as
  // a band row that is full wraps.
  addToolBarBreak(Qt::TopToolBarArea);
  m_wndObjectBar =
      MakeBar(this, QStringLiteral("Objects"), QStringLiteral("objectBar"));
  m_wndObjectBar->setIconSize(QSize(22, 20));
  static constexpr ToolButton kObjectButtons[] = {
      {IDT_POPULATION, "toolbar/population.svg",
       "Population, timing and skills", 0},
      {IDT_PLACE_ENTRANCE, "toolbar/place_entrance.svg", "Place entrance",
       Qt::Key_H},
      {IDT_PLACE_EXIT, "toolbar/place_exit.svg", "Place exit", Qt::Key_D},
      {IDT_PLACE_BLOCK, "toolbar/place_block.svg", "Place metal block",
       Qt::Key_K},
      {IDT_REMOVE_BLOCK, "toolbar/remove_block.svg",
       "Remove the last metal block", 0},
      {IDT_RESET_LEVEL, "toolbar/reset_level.svg",
       "Reset the whole level (asks first)", 0},
  };
  static constexpr ToolButton kPenButtons[] = {
      {IDT_PEN_SMALL_BLACK, "toolbar/pen_small_black.svg", "Small black pen",
       Qt::Key_B},
      {IDT_PEN_LARGE_BLACK, "toolbar/pen_large_black.svg", "Large black pen",
       Qt::Key_N},
      {IDT_PEN_SMALL_WHITE, "toolbar/pen_small_white.svg", "Small white pen",
       Qt::Key_E},
      {IDT_PEN_LARGE_WHITE, "toolbar/pen_large_white.svg", "Large white pen",
       Qt::Key_W},
  };
  AddToolButtons(m_wndObjectBar, kObjectButtons, QSize(22, 20), false, true);

  // Pen toolbar: four check buttons.
  m_wndPenBar = MakeBar(this, QStringLiteral("Pens"), QStringLiteral("penBar"));
  m_wndPenBar->setIconSize(QSize(16, 15));
  AddToolButtons(m_wndPenBar, kPenButtons, QSize(16, 15), true, true);

  // Resize: a horizontal up-down for the width, a vertical one for the
  // height, both with the default range.
  m_wndResizeBar =
      MakeBar(this, QStringLiteral("Resize"), QStringLiteral("resize"));
  m_wndResizeBar->addWidget(
      new QLabel(QStringLiteral("Resize:"), m_wndResizeBar));
  m_pWidthSpin = new CUpDown(Qt::Horizontal, m_wndResizeBar);
  m_pHeightSpin = new CUpDown(Qt::Vertical, m_wndResizeBar);
  m_wndResizeBar->addWidget(m_pWidthSpin);
  m_wndResizeBar->addWidget(m_pHeightSpin);
  SetArrowToolTips();

  connect(m_pLevelSpin, &CUpDown::DeltaPos, this,
          [this](int delta) { OnNotify(IDC_LEVEL_NUMBER_SPIN, delta); });
  connect(m_pWidthSpin, &CUpDown::DeltaPos, this,
          [this](int delta) { OnNotify(IDC_RESIZE_WIDTH, delta); });
  connect(m_pHeightSpin, &CUpDown::DeltaPos, this,
          [this](int delta) { OnNotify(IDC_RESIZE_HEIGHT, delta); });
  // Every change of the edits' texts, typed or set by the program.
  connect(m_pLevelNameEdit, &QLineEdit::textChanged, this,
          [this] { OnCommand(IDC_LEVEL_NAME, EN_CHANGE_CODE); });
  connect(m_pPasscodeEdit, &QLineEdit::textChanged, this,
          [this] { OnCommand(IDC_PASSCODE, EN_CHANGE_CODE); });
  // While an edit has the keyboard, the tools' keys are its own.
  for (QLineEdit* edit :
       {m_pLevelNumberEdit, m_pLevelNameEdit, m_pPasscodeEdit}) {
    edit->installEventFilter(this);
  }

  CreateToolBar();
}

void CEditorFrame::AddToolButtons(QToolBar* bar,
                                  std::span<const ToolButton> buttons,
                                  QSize size, bool checkable, bool tooltips) {
  // The buttons show images only, no text. With `tooltips` each button's
  // tooltip names what it does and its key; the name is given to assistive
  // tools and to the shortcut list either way.
  for (const ToolButton& b : buttons) {
    QAction* action = AddCommand(bar, QString(), b.id);
    action->setIcon(artwork::Icon(QString::fromLatin1(b.image), size.width(),
                                  size.height()));
    action->setCheckable(checkable);
    QString tip = QString::fromLatin1(b.name);
    if (b.key != 0) {
      const QKeySequence key(b.key);
      action->setShortcut(key);
      tip +=
          QStringLiteral(" (%1)").arg(key.toString(QKeySequence::NativeText));
    }
    action->setProperty(kCommandNameProperty, tip);
    if (tooltips) action->setToolTip(tip);
    if (QWidget* button = bar->widgetForAction(action)) {
      button->setAccessibleName(QString::fromLatin1(b.name));
    }
  }
}

void CEditorFrame::SetArrowToolTips() {
  // Which way each arrow changes the level number or the level's size.
  m_pLevelSpin->SetToolTips(
      QStringLiteral("Next level; past the last, offers to add one (Up in "
                     "the level number)"),
      QStringLiteral("Previous level (Down in the level number)"));
  m_pWidthSpin->SetToolTips(
      QStringLiteral("Wider by 8 pixels, at the right edge"),
      QStringLiteral("Narrower by 8 pixels, at the right edge"));
  m_pHeightSpin->SetToolTips(
      QStringLiteral("Shorter by one row, at the bottom edge"),
      QStringLiteral("Taller by one row, at the bottom edge"));
}

void CEditorFrame::WatchBarKeys() {
  // Enter and Escape in the edits give the keyboard back to the canvas.
  auto* keys = new CBarKeys(
      *m_pCanvas, [this](const QString& text) { ShowStatus(text); }, this);
  keys->Watch(*m_pLevelNameEdit, CBarKeys::Typing::Takes);
  keys->Watch(*m_pPasscodeEdit, CBarKeys::Typing::Takes,
              barnotes::kNoPasscodeNeeded);
  keys->Watch(*m_pLevelNumberEdit, CBarKeys::Typing::None);
}

void CEditorFrame::CreateToolBar() {
  // The drawing tools beyond the pens: check buttons, the tool in force
  // checked, on a bar of their own after the six.
  static constexpr ToolButton kToolButtons[] = {
      {IDT_TOOL_LINE, "toolbar/tool_line.svg", "Line", Qt::Key_L},
      {IDT_TOOL_RECTANGLE, "toolbar/tool_rectangle.svg", "Rectangle",
       Qt::Key_R},
      {IDT_TOOL_FILLED_RECTANGLE, "toolbar/tool_filled_rectangle.svg",
       "Filled rectangle", Qt::Key_T},
      {IDT_TOOL_ELLIPSE, "toolbar/tool_ellipse.svg", "Ellipse", Qt::Key_O},
      {IDT_TOOL_FILLED_ELLIPSE, "toolbar/tool_filled_ellipse.svg",
       "Filled ellipse", Qt::Key_P},
      {IDT_TOOL_FILL, "toolbar/tool_fill.svg", "Fill", Qt::Key_G},
      {IDT_TOOL_SELECT, "toolbar/tool_select.svg", "Select", Qt::Key_M},
      {IDT_TOOL_MOVE_OBJECT, "toolbar/tool_move_object.svg", "Move object",
       Qt::Key_V},
  };
  m_wndToolBar =
      MakeBar(this, QStringLiteral("Tools"), QStringLiteral("toolBar"));
  m_wndToolBar->setIconSize(QSize(16, 15));
  AddToolButtons(m_wndToolBar, kToolButtons, QSize(16, 15), true, true);
}

void CEditorFrame::CreateToolKeys() {
  // Keys that act on the pen chosen last without leaving the tool in force,
  // and Escape.
  const struct {
    int id;
    const char* name;
    Qt::Key key;
  } keys[] = {
      {IDK_PEN_SWAP_COLOUR, "Swap black and white", Qt::Key_X},
      {IDK_PEN_SMALL, "Small pen", Qt::Key_BracketLeft},
      {IDK_PEN_LARGE, "Large pen", Qt::Key_BracketRight},
      {IDK_CANCEL, "Cancel", Qt::Key_Escape},
  };
  for (const auto& k : keys) {
    AddCommand(this, QString::fromLatin1(k.name), k.id)
        ->setShortcut(QKeySequence(k.key));
  }
}

void CEditorFrame::CreateCanvas() {
  auto* area = new QWidget(this);
  auto* grid = new QGridLayout(area);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  m_pCanvas = new CCanvasWidget(m_pack, area);
  m_pHScroll = new QScrollBar(Qt::Horizontal, area);
  m_pVScroll = new QScrollBar(Qt::Vertical, area);
  grid->addWidget(m_pCanvas, 0, 0);
  grid->addWidget(m_pVScroll, 0, 1);
  grid->addWidget(m_pHScroll, 1, 0);
  setCentralWidget(area);
  m_pCanvas->SetScrollBars(m_pHScroll, m_pVScroll);
  connect(m_pCanvas, &CCanvasWidget::StatusMessage, this,
          [this](const QString& text) { ShowStatus(text); });
  connect(m_pCanvas, &CCanvasWidget::ToolChanged, this,
          &CEditorFrame::UpdateToolButtons);
  connect(m_pCanvas, &CCanvasWidget::ZoomChanged, this,
          &CEditorFrame::UpdateZoomDisplay);
}

void CEditorFrame::UpdateZoomDisplay() {
  const int zoom = m_pCanvas->UserZoom();
  if (m_pZoomLabel != nullptr) {
    m_pZoomLabel->setText(QStringLiteral("%1x").arg(zoom));
    m_pStatusFields->Update();
  }
  Action(IDM_VIEW_ZOOM_IN)->setEnabled(NextZoomLevel(zoom, 1) != zoom);
  Action(IDM_VIEW_ZOOM_OUT)->setEnabled(NextZoomLevel(zoom, -1) != zoom);
  Action(IDM_VIEW_SHOW_GRID)->setChecked(m_pCanvas->GridOn());
}

bool CEditorFrame::OnViewCommand(int id) {
  CCanvasWidget& canvas = *m_pCanvas;
  switch (id) {
    case IDM_VIEW_ZOOM_IN:
      canvas.StepZoom(1);
      break;
    case IDM_VIEW_ZOOM_OUT:
      canvas.StepZoom(-1);
      break;
    case IDM_VIEW_ACTUAL_SIZE:
      canvas.SetZoom(kDefaultZoom, canvas.GridOn());
      break;
    case IDM_VIEW_FIT_LEVEL:
      canvas.FitLevel();
      break;
    case IDM_VIEW_SHOW_GRID:
      canvas.SetZoom(canvas.UserZoom(), !canvas.GridOn());
      break;
    default:
      return false;
  }
  UpdateZoomDisplay();
  return true;
}

void CEditorFrame::LoadCursors() {
  const qreal dpr = artwork::ScreenDpr();
  m_cursors = {
      artwork::Cursor(QStringLiteral("cursors/pen_small_black.svg"), 4, 28,
                      dpr),
      artwork::Cursor(QStringLiteral("cursors/pen_large_black.svg"), 6, 25,
                      dpr),
      artwork::Cursor(QStringLiteral("cursors/pen_small_white.svg"), 5, 30,
                      dpr),
      artwork::Cursor(QStringLiteral("cursors/pen_large_white.svg"), 11, 22,
                      dpr),
      artwork::Cursor(QStringLiteral("cursors/place.svg"), 5, 25, dpr),
      // The shapes, the fill and the selection aim at one pixel.
      QCursor(Qt::CrossCursor),
      QCursor(Qt::CrossCursor),
      QCursor(Qt::CrossCursor),
      QCursor(Qt::CrossCursor),
      QCursor(Qt::CrossCursor),
      QCursor(Qt::CrossCursor),
      QCursor(Qt::CrossCursor),
      QCursor(Qt::SizeAllCursor),
  };
  m_pCanvas->SetCursors(m_cursors);
}

CCanvasLogic& CEditorFrame::Logic() { return m_pCanvas->Logic(); }

// ---- Command routing ----

void CEditorFrame::OnCommand(int id, int notifyCode) {
  // A placement preview drawn into the terrain never outlives a command.
  Logic().RemovePreview();
  if (id == IDK_CANCEL) {
    OnCancelKey();
    return;
  }
  // The view changes nothing in the level: a shape being dragged and a
  // floating selection stay as they are.
  if (OnViewCommand(id)) return;
  SettleCanvas(id);
  if (id == IDM_FILE_EXIT) {
    close();  // the same road as the close box: OnClose asks first
    return;   // the frame may be gone
  }
  if (id == IDM_EDIT_UNDO || id == IDM_EDIT_REDO) {
    if (id == IDM_EDIT_UNDO) {
      m_pHistory->OnEditUndo();
    } else {
      m_pHistory->OnEditRedo();
    }
    m_pCanvas->FlushUpdates();
    UpdatePackInfo();
    return;
  }
  // Whatever the command changes in the pack is one step of the history.
  const CHistoryStep step(*m_pHistory, CFrameHistory::CommandStepLabel(id),
                          CFrameHistory::CommandMerge(id));
  switch (id) {
    case IDM_HELP_ABOUT:
      OnAbout();
      break;
    case IDM_FILE_NEW:
      OnFileNew();
      break;
    case IDM_FILE_LOAD:
      OnFileLoad();
      break;
    case IDM_FILE_SAVE:
      OnFileSave();
      break;
    case IDM_HELP_TIPS:
      OnTips();
      break;
    case IDM_FILE_SAVE_AS:
      OnFileSaveAs();
      break;
    case IDM_FILE_SECURITY:
      OnSetSecurityInfo();
      break;
    case IDM_FILE_REORDER:
      OnReorderLevels();
      break;
    case IDM_VIEW_PROBLEMS:
      m_pProblems->setVisible(!m_pProblems->isVisible());
      Action(IDM_VIEW_PROBLEMS)->setChecked(m_pProblems->isVisible());
      break;
    case IDM_VIEW_OVERVIEW:
      m_pOverview->setVisible(!m_pOverview->isVisible());
      Action(IDM_VIEW_OVERVIEW)->setChecked(m_pOverview->isVisible());
      break;
    case IDM_VIEW_CLASSIC_COLOURS:
      SetClassicColours(!ClassicColours());
      break;
    case IDM_VIEW_CALCULATOR_SCREEN:
      SetCalculatorScreen(!CalculatorScreen());
      break;
    case IDM_LEVEL_DUPLICATE:
      m_pLevels->Duplicate();
      break;
    case IDM_LEVEL_COPY:
      m_pLevels->Copy();
      break;
    case IDM_LEVEL_PASTE:
      m_pLevels->Paste();
      break;
    case IDM_LEVEL_SIZE:
      m_pLevels->LevelSize();
      break;
    case IDM_FILE_IMPORT_IMAGE:
      m_pPictures->Import();
      break;
    case IDM_FILE_EXPORT_IMAGE:
      m_pPictures->ExportLevel();
      break;
    case IDM_FILE_EXPORT_ALL:
      m_pPictures->ExportAll();
      break;
    case IDM_FILE_SEND_TO_CALCULATOR:
      m_pSession->SendToCalculator();
      break;
    case IDT_POPULATION:
      OnPopulation();
      break;
    case IDM_HELP_GUIDE:
      RunUserGuideDialog(m_platform, this);
      break;
    case IDM_HELP_SHORTCUTS:
      RunShortcutsDialog(m_platform, this, ShortcutRowsOf(*this));
      break;
    case IDM_LEVEL_ADD:
      m_pLevelBar->AddLevelAtEnd();
      break;
    case IDM_LEVEL_DELETE:
      m_pLevelBar->DeleteCurrentLevel();
      break;
    case IDT_PLACE_ENTRANCE:
    case IDT_PLACE_EXIT:
    case IDT_PLACE_BLOCK:
      ChoosePlacementTool(id);
      break;
    case IDT_REMOVE_BLOCK:
      RemoveLastBlock();
      break;
    case IDT_RESET_LEVEL:
      OnResetLevel();
      break;
    case IDT_PEN_SMALL_BLACK:
    case IDT_PEN_LARGE_BLACK:
    case IDT_PEN_SMALL_WHITE:
    case IDT_PEN_LARGE_WHITE:
      OnSelectPen(id);
      break;
    case IDT_TOOL_LINE:
    case IDT_TOOL_RECTANGLE:
    case IDT_TOOL_FILLED_RECTANGLE:
    case IDT_TOOL_ELLIPSE:
    case IDT_TOOL_FILLED_ELLIPSE:
    case IDT_TOOL_FILL:
    case IDT_TOOL_SELECT:
    case IDT_TOOL_MOVE_OBJECT:
      ChooseTool(id);
      break;
    case IDK_PEN_SWAP_COLOUR:
      m_pCanvas->Apply(Logic().SwapPenColour());
      UpdateToolButtons();
      break;
    case IDK_PEN_SMALL:
    case IDK_PEN_LARGE:
      m_pCanvas->Apply(Logic().SetPenWidth(id == IDK_PEN_LARGE));
      UpdateToolButtons();
      break;
    case IDM_EDIT_CUT:
    case IDM_EDIT_COPY:
      OnEditCopy();
      if (id == IDM_EDIT_CUT) Logic().Selection().DeleteSelected();
      break;
    case IDM_EDIT_PASTE:
      OnEditPaste();
      break;
    case IDM_EDIT_DELETE:
      // The object picked by the mover, or the selected pixels.
      if (Logic().CurrentCursor() != ToolCursor::MoveObject ||
          !Logic().Objects().RemovePicked()) {
        Logic().Selection().DeleteSelected();
      }
      break;
    case IDM_EDIT_SELECT_ALL:
      if (Logic().CurrentCursor() != ToolCursor::Select) {
        ChooseTool(IDT_TOOL_SELECT);
      }
      Logic().Selection().SelectAll();
      m_pCanvas->setFocus();
      break;
    case IDM_EDIT_FLIP_HORIZONTAL:
    case IDM_EDIT_FLIP_VERTICAL:
      Logic().Selection().Flip(id == IDM_EDIT_FLIP_HORIZONTAL);
      break;
    case IDC_LEVEL_NAME:
      if (notifyCode == EN_CHANGE_CODE) OnLevelNameChange();
      break;
    case IDC_PASSCODE:
      if (notifyCode == EN_CHANGE_CODE) OnPasscodeChange();
      break;
    default:
      break;  // unknown commands are ignored
  }
  m_pCanvas->FlushUpdates();
  UpdatePackInfo();
}

void CEditorFrame::OnNotify(int controlId, int delta) {
  if (controlId != IDC_LEVEL_NUMBER_SPIN && controlId != IDC_RESIZE_WIDTH &&
      controlId != IDC_RESIZE_HEIGHT) {
    return;
  }
  Logic().RemovePreview();
  SettleCanvas(0);
  m_pCanvas->FlushUpdates();
  const CHistoryStep step(*m_pHistory,
                          CFrameHistory::NotifyStepLabel(controlId));
  switch (controlId) {
    case IDC_LEVEL_NUMBER_SPIN:
      // The up-down applies `delta` to the position it is given here.
      m_pLevelSpin->SetPos(m_pLevelBar->OnLevelNumberDelta(delta));
      break;
    case IDC_RESIZE_WIDTH:
      m_pLevelBar->OnWidthDelta(delta);
      break;
    default:
      m_pLevelBar->OnHeightDelta(delta);
      break;
  }
  UpdatePackInfo();
}

void CEditorFrame::OnSelectPen(int id) {
  for (int pen : kPenBarCommands) {
    if (QAction* action = Action(pen)) action->setChecked(false);
  }
  m_pCanvas->Apply(Logic().OnSelectPen(PenOfCommand(id)));
  // A click on a check button toggles it before the command arrives; the
  // chosen pen ends checked whatever it was.
  if (QAction* action = Action(id)) action->setChecked(true);
  m_pCanvas->ShowToolCursor();
  UpdateToolButtons();
}

void CEditorFrame::ChoosePlacementTool(int id) {
  const int kind = id == IDT_PLACE_ENTRANCE ? OBJ_ENTRANCE
                   : id == IDT_PLACE_EXIT   ? OBJ_EXIT
                                            : OBJ_BLOCK;
  m_pCanvas->Apply(Logic().ChoosePlacementTool(kind));
  m_pCanvas->ShowToolCursor();
  UpdateToolButtons();
}

void CEditorFrame::ChooseTool(int id) {
  m_pCanvas->Apply(Logic().ChooseTool(ToolOfCommand(id)));
  UpdateToolButtons();
}

void CEditorFrame::UpdateToolButtons() {
  CCanvasLogic& logic = Logic();
  for (int pen : kPenBarCommands) {
    if (QAction* action = Action(pen)) {
      action->setChecked(PenOfCommand(pen) == logic.CurrentPen());
    }
  }
  // While placing, the tool the placement gives back stays checked, as the
  // pen does.
  const ToolCursor tool =
      logic.PlacementInForce() ? logic.m_curPrevious : logic.CurrentCursor();
  for (int id : kToolBarCommands) {
    if (QAction* action = Action(id)) {
      action->setChecked(ToolOfCommand(id) == tool);
    }
  }
  if (m_pToolLabel != nullptr) {
    m_pToolLabel->setText(ToolStatusText());
    m_pStatusFields->Update();
  }
}

QString CEditorFrame::ToolStatusText() {
  // Short enough to stand beside the pixel, size and pack fields.
  CCanvasLogic& logic = Logic();
  const QString pen = QStringLiteral("%1 %2").arg(
      logic.PenIsLarge() ? QStringLiteral("large") : QStringLiteral("small"),
      logic.m_nPenColour == 0 ? QStringLiteral("black")
                              : QStringLiteral("white"));
  switch (logic.CurrentCursor()) {
    case ToolCursor::SmallBlack:
    case ToolCursor::LargeBlack:
    case ToolCursor::SmallWhite:
    case ToolCursor::LargeWhite:
      return QStringLiteral("Pen, %1").arg(pen);
    case ToolCursor::Place: {
      const int kind = logic.m_nToolMode;
      const QString what = kind == OBJ_ENTRANCE ? QStringLiteral("the entrance")
                           : kind == OBJ_EXIT   ? QStringLiteral("the exit")
                                                : QStringLiteral("a block");
      return QStringLiteral("Placing %1: click in the level; Esc cancels")
          .arg(what);
    }
    case ToolCursor::Line:
      return QStringLiteral("Line, %1; Shift snaps").arg(pen);
    case ToolCursor::Rectangle:
      return QStringLiteral("Rectangle, %1; Shift: square").arg(pen);
    case ToolCursor::FilledRectangle:
      return QStringLiteral("Filled rectangle, %1; Shift: square").arg(pen);
    case ToolCursor::Ellipse:
      return QStringLiteral("Ellipse, %1; Shift: circle").arg(pen);
    case ToolCursor::FilledEllipse:
      return QStringLiteral("Filled ellipse, %1; Shift: circle").arg(pen);
    case ToolCursor::Fill:
      return QStringLiteral("Fill, %1").arg(pen);
    case ToolCursor::Select:
      return QStringLiteral("Select: Enter puts down, Esc drops");
    case ToolCursor::MoveObject:
      return QStringLiteral("Move object: Delete removes it");
  }
  return {};
}

void CEditorFrame::SettleCanvas(int id) {
  // A pen stroke goes on across a command, as it always has; a shape being
  // dragged is dropped: it is not drawn until the button comes up.
  CCanvasLogic& logic = Logic();
  if (logic.IsDrawing() && !IsPen(logic.CurrentCursor())) {
    m_pHistory->EndMouseStep(true);
  }
  // A floating selection is the author's work in plain sight: it is
  // committed, as a step of its own, before every command but the ones that
  // act on the float itself, the pen keys and the view's commands, which
  // leave the level alone.
  // What is saved, shown in another level or undone is then what was seen.
  switch (id) {
    case IDM_EDIT_CUT:
    case IDM_EDIT_COPY:
    case IDM_EDIT_DELETE:
    case IDM_EDIT_FLIP_HORIZONTAL:
    case IDM_EDIT_FLIP_VERTICAL:
    case IDK_PEN_SWAP_COLOUR:
    case IDK_PEN_SMALL:
    case IDK_PEN_LARGE:
    // The view's own commands change how the level is shown, not the level.
    case IDM_VIEW_OVERVIEW:
    case IDM_VIEW_CLASSIC_COLOURS:
    case IDM_VIEW_CALCULATOR_SCREEN:
      return;
    default:
      break;
  }
  CommitFloat();
}

void CEditorFrame::CommitFloat() {
  CSelectTool& selection = Logic().Selection();
  if (!selection.Floating()) return;
  const std::string_view label = selection.StepLabel();
  {
    const CHistoryStep step(
        *m_pHistory,
        QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())));
    selection.Commit();
  }
  m_pCanvas->FlushUpdates();
  UpdatePackInfo();
}

void CEditorFrame::OnEditCopy() {
  const TerrainClip clip = Logic().Selection().Copy();
  if (clip.Empty()) return;
  m_clip = clip;
  if (QClipboard* clipboard = QGuiApplication::clipboard()) {
    clipboard->setImage(ClipToImage(clip));
  }
}

void CEditorFrame::OnEditPaste() {
  // A picture on the system clipboard (ours or another program's) comes
  // first; without one, the editor's own copy.
  TerrainClip clip = m_clip;
  if (const QClipboard* clipboard = QGuiApplication::clipboard()) {
    const QImage image = clipboard->image();
    if (!image.isNull()) clip = ClipFromImage(image);
  }
  if (clip.Empty()) return;
  if (Logic().CurrentCursor() != ToolCursor::Select) {
    ChooseTool(IDT_TOOL_SELECT);
  }
  // At the top-left of the part of the level in view.
  const CLevel& level = m_pack.Current();
  const Point corner = Logic().ClientToLevel(
      {Logic().View().m_rcCanvas.left, Logic().View().m_rcCanvas.top});
  const Point at{
      std::clamp(corner.x, 0, level.WidthPixels() - 1),
      std::clamp(corner.y, 0, static_cast<int>(level.m_nHeight) - 1)};
  Logic().Selection().Paste(clip, at);
  m_pCanvas->setFocus();
}

void CEditorFrame::OnCancelKey() {
  if (Logic().OnKey(CanvasKey::Escape)) {
    m_pCanvas->ShowToolCursor();
    UpdateToolButtons();
  }
  m_pCanvas->FlushUpdates();
}

// ---- Handlers ----

// New and Load start a fresh history. Every write, also the one "Save
// changes?" makes, marks the state the file holds as it happens (through
// PackWritten), however the command that made it ends.
void CEditorFrame::OnFileNew() {
  if (m_pFiles->New()) m_pHistory->OnPackReplaced(false);
}
void CEditorFrame::OnFileSave() { m_pFiles->Save(); }
void CEditorFrame::OnFileSaveAs() { m_pFiles->SaveAs(); }
void CEditorFrame::OnFileLoad() {
  if (m_pFiles->Load()) m_pHistory->OnPackReplaced(true);
}

void CEditorFrame::OpenFile(const QString& path) {
  Logic().RemovePreview();
  {
    const CHistoryStep step(*m_pHistory,
                            CFrameHistory::CommandStepLabel(IDM_FILE_LOAD));
    if (m_pFiles->Load(path)) m_pHistory->OnPackReplaced(true);
  }
  m_pCanvas->FlushUpdates();
  UpdatePackInfo();
}

void CEditorFrame::OnSetSecurityInfo() {
  RunSecurityDialog(m_platform, this, m_pack);
}

void CEditorFrame::OnReorderLevels() {
  RunLevelOrderDialog(m_platform, this, m_pack, [this](bool canvasChanged) {
    // Each delete or move is a step of its own.
    m_pHistory->History().Checkpoint(canvasChanged
                                         ? QStringLiteral("Delete Level")
                                         : QStringLiteral("Move Level"));
    // A deleted level may leave another, of another size, current.
    if (canvasChanged) ClampAndInvalidate();
    UpdateLevelBars();
  });
}

void CEditorFrame::OnPopulation() {
  RunPopulationDialog(m_platform, this, m_pack);
}

void CEditorFrame::OnAbout() { RunAboutDialog(m_platform, this); }
void CEditorFrame::OnTips() { RunTipsDialog(m_platform, this); }

void CEditorFrame::OnLevelNameChange() {
  m_pLevelBar->OnLevelNameChange(ToPackText(m_pLevelNameEdit->text()));
}

void CEditorFrame::OnPasscodeChange() {
  m_pLevelBar->OnPasscodeChange(ToPackText(m_pPasscodeEdit->text()));
}

void CEditorFrame::OnResetLevel() {
  const IPlatform::Answer answer = m_platform.MessageBox(
      this, QStringLiteral("Are you sure you want to reset the current level?"),
      QStringLiteral("Prepared for Clear"), IPlatform::Buttons::YesNo,
      IPlatform::Icon::Question);
  if (answer == IPlatform::Answer::Yes) {
    m_pack.ResetLevel(m_pack.m_nCurLevel);
    // The pack no longer matches its file: closing must ask before the
    // reset is taken for saved.
    m_pack.m_bModified = true;
  }
  RefreshView();
}

void CEditorFrame::RemoveLastBlock() {
  Logic().RemoveLastBlock();
  m_pCanvas->FlushUpdates();
}

void CEditorFrame::UpdateLevelBars() {
  // The edits report the texts set here as changes; the level bar ignores
  // them while it shows a level, so showing one never changes it.
  m_pLevelBar->UpdateLevelBars([this](const CLevelBarLogic::BarTexts& texts) {
    m_pLevelNameEdit->setText(FromPackText(texts.name));
    barnotes::ShowPasscodeNeeded(*m_pPasscodeEdit, !texts.passcodeReadOnly);
    m_pPasscodeEdit->setText(FromPackText(texts.passcode));
    m_pLevelSpin->SetPos(texts.number);
  });
  UpdateLevelCount();
}

void CEditorFrame::UpdateLevelCount() {
  m_pCountLabel->setText(QStringLiteral("of %1").arg(m_pack.Count()));
}

void CEditorFrame::ShowCalculatorName(const QString& name) {
  m_pCalculatorLabel->setText(
      name.isEmpty() ? QString() : QStringLiteral("Calculator: %1").arg(name));
  m_pStatusFields->Update();
}

void CEditorFrame::RefreshView() {
  m_pCanvas->RefreshView();
  UpdateLevelBars();
}

void CEditorFrame::ClampAndInvalidate() { m_pCanvas->RefreshView(); }

void CEditorFrame::ShiftOrigin(int dx, int dy) {
  CanvasView& view = Logic().View();
  view.m_nOriginX += dx;
  view.m_nOriginY += dy;
}

void CEditorFrame::ShowStatus(const QString& text) {
  m_pStatusFields->ShowNote(text);
  // The action that shows a note may go on to change the pack (a paste
  // into the name keeps what fits and says what it refused): the note
  // counts the edits from the end of that action, once the events of the
  // moment are done.
  if (m_bNoteSettling) return;
  m_bNoteSettling = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        m_bNoteSettling = false;
        m_nNoteEdits = m_pEdits->Edits();
        m_bNoteOverClean = !m_pack.m_bModified;
      },
      Qt::QueuedConnection);
}

void CEditorFrame::UpdatePackInfo() {
  // "Plodderz Level File Maker - pack.83p*": the file's name when the pack
  // has one, and a star while it holds unsaved changes.
  QString title = kAppTitle;
  if (!m_pack.m_szFilePath.empty()) {
    title += QStringLiteral(" - ") +
             QFileInfo(QString::fromStdString(m_pack.m_szFilePath)).fileName();
  }
  if (m_pack.m_bModified) title += QLatin1Char('*');
  if (title != windowTitle()) setWindowTitle(title);
  UpdateLevelCount();

  const CLevel& level = m_pack.Current();
  m_pSizeLabel->setText(QStringLiteral("Level: %1 x %2")
                            .arg(level.WidthPixels())
                            .arg(level.m_nHeight));
  m_pBudgetLabel->setText(
      QString::fromStdString(BudgetText(level.BitmapBytes())));

  // Encoding the whole pack takes microseconds: the figure is always the
  // size a save would write.
  std::vector<std::uint8_t> image;
  std::string error;
  const int limit =
      MaxVariableDataBytes(CFileCommands::FlavourFor(m_pack.m_szFilePath));
  if (EncodePackImage(m_pack.Contents(), image, error)) {
    m_pPackLabel->setText(
        QStringLiteral("Pack: %1 of %2 bytes").arg(image.size()).arg(limit));
    m_pPackLabel->setToolTip(QString());
  } else {
    m_pPackLabel->setText(QStringLiteral("Pack: cannot be saved"));
    m_pPackLabel->setToolTip(QString::fromStdString(error));
  }
  m_pProblems->Refresh();
  m_pOverview->Sync();
  // A passing note does not outlive the next edit.
  if (!m_bNoteSettling && !m_pStatusFields->Note().isEmpty() &&
      (m_pEdits->Edits() != m_nNoteEdits ||
       (m_bNoteOverClean && m_pack.m_bModified))) {
    m_pStatusFields->ShowNote(QString());
  }
  m_pStatusFields->Update();
  m_pSession->PackInfoChanged();
}

bool CEditorFrame::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride &&
      qobject_cast<QLineEdit*>(watched) != nullptr &&
      IsEditKey(*static_cast<QKeyEvent*>(event))) {
    // Accepted here, the key goes to the edit instead of a shortcut.
    event->accept();
    return true;
  }
  if (watched == m_pCanvas) {
    switch (event->type()) {
      case QEvent::MouseMove: {
        // The pixel a click here would change, taken as the canvas takes it.
        const Point at = m_pCanvas->DevicePoint(
            static_cast<QMouseEvent*>(event)->position());
        Point level;
        m_pPixelLabel->setText(
            Logic().PixelUnder(at, level)
                ? QStringLiteral("Pixel: %1, %2").arg(level.x).arg(level.y)
                : QString());
        break;
      }
      case QEvent::Leave:
        m_pPixelLabel->clear();
        break;
      case QEvent::KeyPress:
        if (OnCanvasKey(*static_cast<QKeyEvent*>(event))) return true;
        break;
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
        // The canvas handles the button after this filter: a stroke or a
        // placement has changed the pack once the event is done.
        QMetaObject::invokeMethod(
            this, [this] { UpdatePackInfo(); }, Qt::QueuedConnection);
        break;
      default:
        break;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

bool CEditorFrame::OnCanvasKey(const QKeyEvent& key) {
  // Enter and the arrows for the tool in force (the selection); Escape is
  // a key command of the window.
  CanvasKey canvasKey;
  switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      canvasKey = CanvasKey::Enter;
      break;
    case Qt::Key_Left:
      canvasKey = CanvasKey::Left;
      break;
    case Qt::Key_Right:
      canvasKey = CanvasKey::Right;
      break;
    case Qt::Key_Up:
      canvasKey = CanvasKey::Up;
      break;
    case Qt::Key_Down:
      canvasKey = CanvasKey::Down;
      break;
    default:
      return false;
  }
  const std::string_view label = Logic().StepLabel();
  bool used;
  {
    const CHistoryStep step(
        *m_pHistory,
        QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())));
    used = Logic().OnKey(canvasKey, (key.modifiers() & Qt::ShiftModifier) != 0);
  }
  m_pCanvas->FlushUpdates();
  UpdatePackInfo();
  return used;
}

// ---- Closing ----

bool CEditorFrame::OnClose() {
  Logic().RemovePreview();
  SettleCanvas(0);
  m_pCanvas->FlushUpdates();
  // Only a real change asks "Save changes?": a preview taken out is none.
  m_pHistory->EndMouseStep(true);
  m_pHistory->PreviewRemoved();
  // Yes saves first; a save that was cancelled or failed keeps the window
  // open rather than lose the changes.
  const bool canClose = m_pFiles->CanClose();
  if (!canClose) UpdatePackInfo();
  return canClose;
}

void CEditorFrame::closeEvent(QCloseEvent* event) {
  if (m_bClosing || OnClose()) {
    if (!m_bClosing) m_pSession->WindowClosed();
    m_bClosing = true;
    event->accept();
  } else {
    event->ignore();
  }
}

void CEditorFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (m_pSession->CanDrop(*event->mimeData())) event->acceptProposedAction();
}

void CEditorFrame::dropEvent(QDropEvent* event) {
  if (!m_pSession->CanDrop(*event->mimeData())) return;
  event->acceptProposedAction();
  m_pSession->Drop(*event->mimeData());
}
