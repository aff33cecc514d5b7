#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "shell/CommandIds.h"
#include "shell/FrameFixture.h"
#include "uikit/UpDown.h"

namespace {

std::vector<int> CheckedPens(CEditorFrame& frame) {
  std::vector<int> checked;
  for (int id : kPenBarCommands) {
    if (frame.Action(id)->isChecked()) checked.push_back(id);
  }
  return checked;
}

bool SameCursor(const QCursor& a, const QCursor& b) {
  return a.pixmap().cacheKey() == b.pixmap().cacheKey() &&
         a.hotSpot() == b.hotSpot();
}

// ---- Start-up ----

TEST_F(FrameTest, StartsWithOneFreshLevelAndTheSmallBlackPen) {
  EXPECT_EQ(frame->windowTitle(), "Plodderz Level File Maker");
  EXPECT_EQ(frame->size(), QSize(700, 500));
  EXPECT_EQ(frame->pos(), QPoint(100, 100));
  EXPECT_FALSE(frame->windowIcon().isNull());

  const CLevelPack& pack = frame->Pack();
  EXPECT_EQ(pack.Count(), 1);
  EXPECT_EQ(pack.m_nCurLevel, 0);
  EXPECT_FALSE(pack.m_bModified);
  EXPECT_TRUE(pack.m_szFilePath.empty());
  EXPECT_TRUE(pack.m_szAuthorName.empty());
  EXPECT_TRUE(pack.m_szPassword.empty());

  EXPECT_EQ(frame->LevelNumberEdit()->text(), "1");
  EXPECT_TRUE(frame->LevelNumberEdit()->isReadOnly());
  EXPECT_EQ(frame->LevelNameEdit()->text(), "Level 1 Name");
  EXPECT_EQ(frame->PasscodeEdit()->text(), "");
  EXPECT_TRUE(frame->PasscodeEdit()->isReadOnly());
  EXPECT_EQ(frame->LevelNameEdit()->maxLength(), 29);
  EXPECT_EQ(frame->PasscodeEdit()->maxLength(), 4);

  EXPECT_EQ(CheckedPens(*frame), std::vector<int>{IDT_PEN_SMALL_BLACK});
  EXPECT_EQ(Logic().CurrentCursor(), ToolCursor::SmallBlack);
  EXPECT_EQ(Logic().m_nPenColour, 0);
  EXPECT_TRUE(SameCursor(Canvas().cursor(),
                         frame->ToolCursorShape(ToolCursor::SmallBlack)));
  EXPECT_EQ(Canvas().cursor().hotSpot(), QPoint(4, 28));
  EXPECT_NE(frame->statusBar(), nullptr);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(FrameTest, CursorsAreThirtyTwoPixelsWithTheirHotSpots) {
  const struct {
    ToolCursor tool;
    QPoint hot;
  } kCases[] = {{ToolCursor::SmallBlack, {4, 28}},
                {ToolCursor::LargeBlack, {6, 25}},
                {ToolCursor::SmallWhite, {5, 30}},
                {ToolCursor::LargeWhite, {11, 22}},
                {ToolCursor::Place, {5, 25}}};
  for (const auto& c : kCases) {
    const QCursor& cursor = frame->ToolCursorShape(c.tool);
    EXPECT_EQ(cursor.hotSpot(), c.hot);
    const QPixmap pixmap = cursor.pixmap();
    EXPECT_EQ(pixmap.deviceIndependentSize().toSize(), QSize(32, 32));
    // Drawn, not blank: the hot spot's neighbourhood has an opaque pixel.
    const QImage image = pixmap.toImage();
    const qreal dpr = pixmap.devicePixelRatio();
    bool opaque = false;
    for (int dy = -2; dy <= 2; ++dy) {
      for (int dx = -2; dx <= 2; ++dx) {
        const QPoint at = (QPointF(c.hot + QPoint(dx, dy)) * dpr).toPoint();
        if (image.rect().contains(at) && qAlpha(image.pixel(at)) > 128) {
          opaque = true;
        }
      }
    }
    EXPECT_TRUE(opaque) << "nothing drawn at the hot spot " << c.hot.x() << ","
                        << c.hot.y();
  }
}

// ---- Menu, bars and buttons ----

TEST_F(FrameTest, MenuHasItsTextsInOrderWithTheirCommands) {
  const QList<QAction*> menus = frame->menuBar()->actions();
  // File, Edit, View, Level, Help; the Edit, View and Level menus have
  // tests of their own.
  ASSERT_EQ(menus.size(), 5);
  EXPECT_EQ(menus[0]->text(), "&File");
  EXPECT_EQ(menus.back()->text(), "&Help");

  const auto items = [](QAction* menu) {
    std::vector<QString> texts;
    for (QAction* a : menu->menu()->actions()) {
      texts.push_back(a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    return texts;
  };
  // The desktop's two items stand after Load..., the pictures' three after
  // them; the rest keep their order.
  std::vector<QString> file = items(menus[0]);
  ASSERT_GE(file.size(), 6u);
  EXPECT_EQ(file[4], "Open Re&cent");
  EXPECT_EQ(file[5], "Sen&d to Calculator...");
  file.erase(file.begin() + 4, file.begin() + 6);
  EXPECT_EQ(file, (std::vector<QString>{
                      "&New", "&Save", "Save &As...", "&Load...", "-",
                      "&Import Terrain Image...", "E&xport Level Image...",
                      "Export A&ll Levels...", "-", "Set Security &Info...",
                      "&Reorder Levels...", "-", "&Exit"}));
  EXPECT_EQ(items(menus.back()),
            (std::vector<QString>{"&User Guide", "&Keyboard Shortcuts", "-",
                                  "&Tips...", "&About..."}));

  // Each item is the action of its command ID.
  const struct {
    int id;
    const char* text;
  } kItems[] = {{IDM_FILE_NEW, "&New"},
                {IDM_FILE_SAVE, "&Save"},
                {IDM_FILE_SAVE_AS, "Save &As..."},
                {IDM_FILE_LOAD, "&Load..."},
                {IDM_FILE_SECURITY, "Set Security &Info..."},
                {IDM_FILE_REORDER, "&Reorder Levels..."},
                {IDM_FILE_EXIT, "&Exit"},
                {IDM_HELP_TIPS, "&Tips..."},
                {IDM_HELP_ABOUT, "&About..."}};
  for (const auto& item : kItems) {
    ASSERT_NE(frame->Action(item.id), nullptr) << item.id;
    EXPECT_EQ(frame->Action(item.id)->text(), item.text);
  }
}

// The six bars, then the drawing tools' bar after them.
TEST_F(FrameTest, SixMovableBarsInBandOrderAtTheTop) {
  const QList<QToolBar*> bars = frame->findChildren<QToolBar*>();
  ASSERT_EQ(bars.size(), 7);
  // Sort by the position the layout gave them: row by row, left to right.
  std::vector<QToolBar*> placed(bars.begin(), bars.end());
  std::sort(placed.begin(), placed.end(), [](QToolBar* a, QToolBar* b) {
    if (a->y() != b->y()) return a->y() < b->y();
    return a->x() < b->x();
  });
  std::vector<QString> names;
  for (QToolBar* bar : placed) {
    names.push_back(bar->objectName());
    EXPECT_TRUE(bar->isMovable());
    EXPECT_EQ(frame->toolBarArea(bar), Qt::TopToolBarArea);
  }
  EXPECT_EQ(names,
            (std::vector<QString>{"levelNumber", "levelName", "passcode",
                                  "objectBar", "penBar", "resize", "toolBar"}));
}

TEST_F(FrameTest, ToolbarButtonsStandInOrderAsPushAndCheckButtons) {
  const auto ids = [this](QToolBar* bar) {
    std::vector<int> found;
    for (QAction* a : bar->actions()) {
      for (int id : kObjectBarCommands) {
        if (frame->Action(id) == a) found.push_back(id);
      }
      for (int id : kPenBarCommands) {
        if (frame->Action(id) == a) found.push_back(id);
      }
    }
    return found;
  };
  EXPECT_EQ(ids(frame->ObjectBar()),
            (std::vector<int>{0x4004, 0x4005, 0x4006, 0x4008, 0x4007, 0x4009}));
  EXPECT_EQ(ids(frame->PenBar()),
            (std::vector<int>{0x400C, 0x400D, 0x400E, 0x400F}));
  for (int id : kObjectBarCommands) {
    EXPECT_FALSE(frame->Action(id)->isCheckable()) << id;
    EXPECT_FALSE(frame->Action(id)->icon().isNull()) << id;
  }
  for (int id : kPenBarCommands) {
    EXPECT_TRUE(frame->Action(id)->isCheckable()) << id;
    EXPECT_FALSE(frame->Action(id)->icon().isNull()) << id;
  }
}

// Every button and arrow of the bars says what it does, and names its key
// where it has one; the arrows say which way each changes the level.
TEST_F(FrameTest, EveryButtonAndArrowOfTheBarsHasATooltip) {
  int buttons = 0;
  for (QToolBar* bar : frame->findChildren<QToolBar*>()) {
    for (QToolButton* button : bar->findChildren<QToolButton*>()) {
      // The bar's own button for the buttons that do not fit.
      if (button->objectName() == "qt_toolbar_ext_button") continue;
      ++buttons;
      const QString tip = button->toolTip();
      SCOPED_TRACE(bar->objectName().toStdString() + ": " +
                   button->accessibleName().toStdString());
      EXPECT_FALSE(tip.isEmpty());
      if (QAction* action = button->defaultAction()) {
        if (!action->shortcut().isEmpty()) {
          EXPECT_TRUE(tip.endsWith(
              " (" + action->shortcut().toString(QKeySequence::NativeText) +
              ")"))
              << tip.toStdString();
        }
      }
    }
  }
  // Six object buttons, four pens, the tools and three up-downs' arrows.
  EXPECT_GE(buttons, 6 + 4 + 8 + 6);

  const struct {
    QToolButton* arrow;
    const char* says;
  } arrows[] = {
      {frame->WidthSpin()->UpButton(), "Wider by 8 pixels"},
      {frame->WidthSpin()->DownButton(), "Narrower by 8 pixels"},
      {frame->HeightSpin()->DownButton(), "Taller by one row"},
      {frame->HeightSpin()->UpButton(), "Shorter by one row"},
      {frame->LevelNumberSpin()->UpButton(), "Next level"},
      {frame->LevelNumberSpin()->DownButton(), "Previous level"},
  };
  for (const auto& a : arrows) {
    EXPECT_TRUE(a.arrow->toolTip().startsWith(a.says))
        << a.arrow->toolTip().toStdString();
  }
  EXPECT_EQ(frame->Action(IDT_PLACE_BLOCK)->toolTip(), "Place metal block (K)");
  EXPECT_EQ(frame->Action(IDT_PEN_LARGE_WHITE)->toolTip(),
            "Large white pen (W)");
  EXPECT_TRUE(
      frame->Action(IDT_RESET_LEVEL)->toolTip().contains("whole level"));
}

TEST_F(FrameTest, EveryMenuItemAndToolbarButtonIsAlwaysEnabled) {
  const auto expectAllEnabled = [this](const char* state) {
    for (const auto& list :
         {std::vector<int>(std::begin(kMenuCommands), std::end(kMenuCommands)),
          std::vector<int>(std::begin(kObjectBarCommands),
                           std::end(kObjectBarCommands)),
          std::vector<int>(std::begin(kPenBarCommands),
                           std::end(kPenBarCommands))}) {
      for (int id : list) {
        QAction* action = frame->Action(id);
        EXPECT_TRUE(action->isEnabled()) << state << ": " << id;
        for (QObject* w : action->associatedObjects()) {
          if (auto* widget = qobject_cast<QWidget*>(w)) {
            EXPECT_TRUE(widget->isEnabled()) << state << ": " << id;
          }
        }
      }
    }
  };
  expectAllEnabled("start");
  frame->OnCommand(IDT_PLACE_EXIT);
  expectAllEnabled("placing");
  frame->OnCommand(IDT_REMOVE_BLOCK);  // no block to remove
  expectAllEnabled("no blocks");
}

// ---- Command routing ----

TEST_F(FrameTest, EveryCommandReachesItsHandler) {
  const struct {
    int id;
    int code;
    const char* handler;  // nullptr: nothing is called
  } kTable[] = {
      {IDM_HELP_ABOUT, 0, "OnAbout"},
      {IDM_FILE_NEW, 0, "OnFileNew"},
      {IDM_FILE_LOAD, 0, "OnFileLoad"},
      {IDM_FILE_SAVE, 0, "OnFileSave"},
      {IDM_HELP_TIPS, 0, "OnTips"},
      {IDM_FILE_SAVE_AS, 0, "OnFileSaveAs"},
      {IDM_FILE_SECURITY, 0, "OnSetSecurityInfo"},
      {IDM_FILE_REORDER, 0, "OnReorderLevels"},
      {IDT_POPULATION, 0, "OnPopulation"},
      {IDT_RESET_LEVEL, 0, "OnResetLevel"},
      {IDC_LEVEL_NAME, EN_CHANGE_CODE, "OnLevelNameChange"},
      {IDC_PASSCODE, EN_CHANGE_CODE, "OnPasscodeChange"},
      // Other notifications of the edits, and unknown IDs, are swallowed.
      {IDC_LEVEL_NAME, 0x0100, nullptr},
      {IDC_PASSCODE, 0x0200, nullptr},
      {IDC_LEVEL_NUMBER, EN_CHANGE_CODE, nullptr},
      {40007, 0, nullptr},
      {0, 0, nullptr},
      {-1, 0, nullptr},
  };
  for (const auto& row : kTable) {
    frame->calls.clear();
    platform.answers.push_back(IPlatform::Answer::No);  // reset asks first
    frame->OnCommand(row.id, row.code);
    platform.answers.clear();
    if (row.handler == nullptr) {
      EXPECT_TRUE(frame->calls.empty()) << row.id;
    } else {
      ASSERT_EQ(frame->calls.size(), 1u) << row.id;
      EXPECT_EQ(frame->calls[0].handler, row.handler) << row.id;
    }
  }
  // Menu items and buttons run the same table.
  frame->calls.clear();
  frame->Action(IDM_HELP_TIPS)->trigger();
  frame->Action(IDT_POPULATION)->trigger();
  ASSERT_EQ(frame->calls.size(), 2u);
  EXPECT_EQ(frame->calls[0].handler, "OnTips");
  EXPECT_EQ(frame->calls[1].handler, "OnPopulation");
}

TEST_F(FrameTest, EditChangesReachTheirHandlersAlsoWhenTheProgramSetsText) {
  frame->calls.clear();
  frame->LevelNameEdit()->setText("Caves");
  frame->PasscodeEdit()->setReadOnly(false);
  frame->PasscodeEdit()->setText("ABCD");
  ASSERT_EQ(frame->calls.size(), 2u);
  EXPECT_EQ(frame->calls[0].handler, "OnLevelNameChange");
  EXPECT_EQ(frame->calls[1].handler, "OnPasscodeChange");
}

TEST_F(FrameTest, PasscodeEditTurnsTypedLettersIntoCapitals) {
  QLineEdit* edit = frame->PasscodeEdit();
  edit->setReadOnly(false);
  edit->insert("ab1z");
  EXPECT_EQ(edit->text(), "AB1Z");
  edit->insert("q");  // a fifth character cannot be typed
  EXPECT_EQ(edit->text(), "AB1Z");
}

TEST_F(FrameTest, CommandsTakeThePreviewAwayBeforeTheirHandlerRuns) {
  const QImage before = FullPaint();
  const std::vector<std::uint8_t> terrain(
      Level().m_bitmap, Level().m_bitmap + Level().BitmapBytes());
  frame->OnCommand(IDT_PLACE_BLOCK);
  MouseMove(&Canvas(), CellPoint({40, 20}), false);
  ASSERT_TRUE(Logic().PreviewShown());

  frame->calls.clear();
  frame->OnCommand(IDM_HELP_ABOUT);
  ASSERT_EQ(frame->calls.size(), 1u);
  EXPECT_FALSE(frame->calls[0].previewShown);
  EXPECT_TRUE(std::equal(terrain.begin(), terrain.end(), Level().m_bitmap));
  // The screen shows the terrain as it was, read back without a new paint.
  EXPECT_EQ(Canvas().Screen(), before);

  // An unknown command takes it away too.
  MouseMove(&Canvas(), CellPoint({60, 30}), false);
  ASSERT_TRUE(Logic().PreviewShown());
  frame->OnCommand(12345);
  EXPECT_FALSE(Logic().PreviewShown());
  EXPECT_EQ(Canvas().Screen(), before);
}

// ---- Tool selection ----

TEST_F(FrameTest, ChoosingAPenChecksOnlyItsButtonAndShowsItsCursor) {
  const struct {
    int id;
    ToolCursor tool;
    int colour;
  } kPens[] = {{IDT_PEN_LARGE_BLACK, ToolCursor::LargeBlack, 0},
               {IDT_PEN_SMALL_WHITE, ToolCursor::SmallWhite, 1},
               {IDT_PEN_LARGE_WHITE, ToolCursor::LargeWhite, 1},
               {IDT_PEN_SMALL_BLACK, ToolCursor::SmallBlack, 0}};
  for (const auto& pen : kPens) {
    // Clicking a check button toggles it before its command arrives.
    frame->Action(pen.id)->trigger();
    EXPECT_EQ(CheckedPens(*frame), std::vector<int>{pen.id});
    EXPECT_EQ(Logic().CurrentCursor(), pen.tool);
    EXPECT_EQ(Logic().m_nPenColour, pen.colour);
    EXPECT_TRUE(
        SameCursor(Canvas().cursor(), frame->ToolCursorShape(pen.tool)));
    // Clicking the checked pen again leaves it checked.
    frame->Action(pen.id)->trigger();
    EXPECT_EQ(CheckedPens(*frame), std::vector<int>{pen.id});
  }
}

TEST_F(FrameTest, PlacementToolsRememberThePenAndGiveItBackAfterPlacing) {
  frame->OnCommand(IDT_PEN_LARGE_WHITE);
  frame->OnCommand(IDT_PLACE_ENTRANCE);
  EXPECT_EQ(Logic().CurrentCursor(), ToolCursor::Place);
  EXPECT_TRUE(
      SameCursor(Canvas().cursor(), frame->ToolCursorShape(ToolCursor::Place)));
  // The pen bar is not touched while placing.
  EXPECT_EQ(CheckedPens(*frame), std::vector<int>{IDT_PEN_LARGE_WHITE});

  frame->OnCommand(IDT_PLACE_EXIT);  // a second tool changes only the kind
  EXPECT_EQ(Logic().m_nToolMode, OBJ_EXIT);

  const QPoint at = CellPoint({13, 20});
  MousePress(&Canvas(), at);
  MouseRelease(&Canvas(), at);
  EXPECT_EQ(Level().m_objects[EXIT_SLOT], (LevelObject{OBJ_EXIT, 1, 20}));
  EXPECT_EQ(Logic().CurrentCursor(), ToolCursor::LargeWhite);
  EXPECT_TRUE(SameCursor(Canvas().cursor(),
                         frame->ToolCursorShape(ToolCursor::LargeWhite)));
  EXPECT_EQ(Logic().m_nPenColour, 1);
}

TEST_F(FrameTest, ChoosingAPenWhilePlacingEndsPlacementAndRestoresTerrain) {
  Level().SetPixel(40, 25, true);
  const QImage before = FullPaint();
  frame->OnCommand(IDT_PLACE_BLOCK);
  MouseMove(&Canvas(), CellPoint({40, 20}), false);
  ASSERT_NE(Canvas().Screen(), before);  // the preview is on screen

  frame->OnCommand(IDT_PEN_SMALL_WHITE);
  EXPECT_EQ(Logic().CurrentCursor(), ToolCursor::SmallWhite);
  EXPECT_EQ(CheckedPens(*frame), std::vector<int>{IDT_PEN_SMALL_WHITE});
  EXPECT_EQ(Level().m_nBlockCount, 0);
  EXPECT_EQ(Canvas().Screen(), before);
  EXPECT_EQ(FullPaint(), before);
}

// ---- Level commands ----

TEST_F(FrameTest, ResetLevelAsksAndResetsOnlyOnYes) {
  Level().SetPixel(3, 3, true);
  std::snprintf(Level().m_szName, sizeof Level().m_szName, "%s", "Mine");

  platform.answers = {IPlatform::Answer::No};
  frame->OnCommand(IDT_RESET_LEVEL);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text,
            "Are you sure you want to reset the current level?");
  EXPECT_EQ(platform.messages[0].caption, "Prepared for Clear");
  EXPECT_EQ(platform.messages[0].buttons, IPlatform::Buttons::YesNo);
  EXPECT_EQ(platform.messages[0].icon, IPlatform::Icon::Question);
  EXPECT_TRUE(Level().GetPixel(3, 3));
  EXPECT_FALSE(frame->Pack().m_bModified);

  platform.answers = {IPlatform::Answer::Yes};
  frame->OnCommand(IDT_RESET_LEVEL);
  EXPECT_FALSE(Level().GetPixel(3, 3));
  EXPECT_EQ(frame->LevelNameEdit()->text(), "Level 1 Name");
  EXPECT_FALSE(CellIsBlack({3, 3}));
  // The pack now differs from its file: closing must ask before it is lost.
  EXPECT_TRUE(frame->Pack().m_bModified);
  EXPECT_EQ(platform.unexpected, 0);
}

TEST_F(FrameTest, RemoveLastBlockTakesTheLastBlockOffTheScreen) {
  Level().PlaceObject({8, 8}, OBJ_BLOCK);
  Level().PlaceObject({40, 8}, OBJ_BLOCK);
  FullPaint();
  ASSERT_TRUE(CellIsBlack({40, 8}));  // the block's top-left corner

  frame->OnCommand(IDT_REMOVE_BLOCK);
  EXPECT_EQ(Level().m_nBlockCount, 1);
  EXPECT_FALSE(CellIsBlack({40, 8}));
  EXPECT_TRUE(CellIsBlack({8, 8}));

  frame->OnCommand(IDT_REMOVE_BLOCK);
  frame->OnCommand(IDT_REMOVE_BLOCK);  // none left: nothing happens
  EXPECT_EQ(Level().m_nBlockCount, 0);
}

TEST_F(FrameTest, ABlockClickAtTheLimitSaysSoInTheStatusBar) {
  for (int i = 0; i < MAX_BLOCKS; ++i) {
    Level().PlaceObject({8 * (i % 10), 16 * (i % 3)}, OBJ_BLOCK);
  }
  ASSERT_EQ(Level().m_nBlockCount, MAX_BLOCKS);
  frame->OnCommand(IDT_PLACE_BLOCK);
  MousePress(&Canvas(), CellPoint({48, 40}));
  MouseRelease(&Canvas(), CellPoint({48, 40}));
  EXPECT_EQ(frame->statusBar()->currentMessage().toStdString(),
            std::string(kBlockLimitMessage));
  EXPECT_EQ(Level().m_nBlockCount, MAX_BLOCKS);
}

// ---- Closing ----

TEST_F(FrameTest, ClosingAnUnchangedPackAsksNothing) {
  frame->OnCommand(IDM_FILE_EXIT);
  ProcessEvents();
  EXPECT_TRUE(frame.isNull());
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(FrameTest, ClosingAChangedPackAsksAndCancelKeepsItOpen) {
  frame->Pack().m_bModified = true;
  platform.answers = {IPlatform::Answer::Cancel};
  frame->OnCommand(IDM_FILE_EXIT);
  ProcessEvents();
  ASSERT_FALSE(frame.isNull());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "Save changes?");
  EXPECT_EQ(platform.messages[0].caption, "Ready to Exit");
  EXPECT_EQ(platform.messages[0].buttons, IPlatform::Buttons::YesNoCancel);
  EXPECT_EQ(platform.messages[0].icon, IPlatform::Icon::Question);
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(CLevel::s_nLiveCount, 1);

  // The close box takes the same road; No closes and releases every level.
  platform.answers = {IPlatform::Answer::No};
  frame->close();
  ProcessEvents();
  EXPECT_TRUE(frame.isNull());
  EXPECT_EQ(platform.messages.size(), 2u);
}

TEST_F(FrameTest, YesToSaveWithTheChangesStillUnsavedKeepsTheWindowOpen) {
  // The save cannot happen (the fresh level has no entrance or exit): the
  // changes are still unsaved, so the window must not close and lose them.
  frame->Pack().m_bModified = true;
  platform.answers = {IPlatform::Answer::Yes, IPlatform::Answer::Ok};
  frame->close();
  ProcessEvents();
  ASSERT_FALSE(frame.isNull());
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[0].text, "Save changes?");
  EXPECT_EQ(platform.messages[1].caption, "Level Incomplete");
  EXPECT_TRUE(frame->Pack().m_bModified);
}

TEST_F(FrameTest, ClosingTakesThePreviewAwayFirst) {
  const std::vector<std::uint8_t> terrain(
      Level().m_bitmap, Level().m_bitmap + Level().BitmapBytes());
  frame->OnCommand(IDT_PLACE_ENTRANCE);
  MouseMove(&Canvas(), CellPoint({30, 30}), false);
  ASSERT_TRUE(Logic().PreviewShown());
  frame->Pack().m_bModified = true;
  platform.answers = {IPlatform::Answer::Cancel};
  frame->close();
  EXPECT_FALSE(Logic().PreviewShown());
  EXPECT_TRUE(std::equal(terrain.begin(), terrain.end(), Level().m_bitmap));
}

// ---- Canvas in the frame ----

TEST_F(FrameTest, PenClickBlackensItsCellAndMarksThePackModified) {
  FullPaint();
  ASSERT_FALSE(CellIsBlack({5, 7}));
  MousePress(&Canvas(), CellPoint({5, 7}));
  MouseRelease(&Canvas(), CellPoint({5, 7}));
  EXPECT_TRUE(Level().GetPixel(5, 7));
  EXPECT_TRUE(CellIsBlack({5, 7}));
  EXPECT_FALSE(CellIsBlack({6, 7}));
  EXPECT_TRUE(frame->Pack().m_bModified);
  // A fresh paint from the model shows the same.
  FullPaint();
  EXPECT_TRUE(CellIsBlack({5, 7}));
}

TEST_F(FrameTest, ScrollBarsFollowTheViewAndScrollTheCanvas) {
  // A level wider and taller than the canvas.
  for (int i = 0; i < 12; ++i) Level().AddColumn();  // 24 bytes = 768 pixels
  frame->RefreshView();
  ProcessEvents();
  QScrollBar* h = frame->findChildren<QScrollBar*>()[0];
  if (h->orientation() != Qt::Horizontal) {
    h = frame->findChildren<QScrollBar*>()[1];
  }
  const ScrollBarSettings s = Logic().HorizontalBar();
  EXPECT_TRUE(h->isEnabled());
  EXPECT_EQ(h->minimum(), s.min);
  EXPECT_EQ(h->maximum(), s.QtMaximum());
  EXPECT_EQ(h->value(), Logic().View().m_nOriginX);

  const int origin = Logic().View().m_nOriginX;
  const QPoint cellBefore = CellPoint({10, 10});
  h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(Logic().View().m_nOriginX, origin + 4);
  EXPECT_EQ(h->value(), origin + 4);
  EXPECT_EQ(CellPoint({10, 10}), cellBefore - QPoint(4, 0));

  h->triggerAction(QAbstractSlider::SliderPageStepAdd);
  const int cx = Logic().View().m_cxClient;
  EXPECT_EQ(Logic().View().m_nOriginX,
            std::min(RoundTowardZero(origin + 4 + cx, 4), 32 * 24 + 52 - cx));

  // The picture moved with the origin: a plotted cell is where it should be.
  Level().SetPixel(150, 10, true);
  FullPaint();
  EXPECT_TRUE(CellIsBlack({150, 10}));
}

}  // namespace
