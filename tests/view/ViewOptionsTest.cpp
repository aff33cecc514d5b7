// The View menu's overview, colours and calculator screen frame through the
// real frame, headless.

#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QScrollBar>
#include <cstring>

#include "canvas/OverviewExpected.h"
#include "shell/CommandIds.h"
#include "shell/FrameDriver.h"
#include "shell/FrameSession.h"
#include "shell/OverviewPanel.h"
#include "shell/ScreenFrame.h"
#include "shell/Settings.h"
#include "shell/ShownFrameFixture.h"
#include "support/TempFiles.h"

namespace {

class ViewOptionsTest : public ShownFrameFixture<CEditorFrame> {
 protected:
  void SetUp() override {
    ShownFrameFixture::SetUp();
    drive = std::make_unique<FrameDriver>(*frame, platform);
  }
  void TearDown() override {
    drive.reset();
    ShownFrameFixture::TearDown();
  }

  COverviewPanel& Overview() { return frame->Overview(); }
  CCanvasWidget& Canvas() { return frame->Canvas(); }
  const CanvasView& View() { return frame->Logic().View(); }
  CanvasPalette Palette() {
    return frame->ClassicColours() ? CanvasPalette::Classic()
                                   : CanvasPalette::Clear();
  }
  // The overview shows the current level as the pack holds it, previews
  // left out.
  void ExpectOverviewShowsTheLevel() {
    const PackContents contents = frame->Pack().Contents();
    overviewtest::ExpectShows(
        Overview().Picture(),
        contents.levels[static_cast<std::size_t>(frame->Pack().m_nCurLevel)],
        Palette());
  }
  void Widen(int columns) {
    for (int i = 0; i < columns; ++i) frame->OnNotify(IDC_RESIZE_WIDTH, -1);
  }
  // Clicks the overview's picture on a level pixel.
  void ClickOverview(Point level) {
    const int scale = Overview().Picture().Scale();
    const QPoint at =
        Overview().PictureOrigin() + QPoint(level.x * scale, level.y * scale);
    MousePress(Overview().PictureWidget(), at);
    MouseRelease(Overview().PictureWidget(), at);
  }
  // The level pixel at the centre of the canvas.
  Point CentrePixel() {
    const Rect& c = View().m_rcCanvas;
    return View().ClientToLevel(
        {(c.left + c.right) / 2, (c.top + c.bottom) / 2});
  }

  std::unique_ptr<FrameDriver> drive;
};

TEST_F(ViewOptionsTest, TheViewMenuHoldsTheItemsAtTheirDefaults) {
  const struct {
    int id;
    const char* text;
    bool checked;
  } kItems[] = {
      {IDM_VIEW_OVERVIEW, "&Overview", false},
      {IDM_VIEW_CLASSIC_COLOURS, "&Classic Colours", true},
      {IDM_VIEW_CALCULATOR_SCREEN, "Calculator &Screen", false},
  };
  for (const auto& item : kItems) {
    QAction* action = frame->Action(item.id);
    ASSERT_NE(action, nullptr) << item.text;
    EXPECT_EQ(action->text(), item.text);
    EXPECT_TRUE(action->isCheckable());
    EXPECT_EQ(action->isChecked(), item.checked) << item.text;
    frame->OnCommand(item.id);
    EXPECT_EQ(action->isChecked(), !item.checked) << item.text;
  }
  EXPECT_TRUE(Overview().isVisible());
  EXPECT_FALSE(frame->ClassicColours());
  EXPECT_TRUE(frame->CalculatorScreen());
}

TEST_F(ViewOptionsTest, TheOverviewFollowsStrokesUndoLevelsAndSizes) {
  frame->OnCommand(IDM_VIEW_OVERVIEW);
  ProcessEvents();
  ExpectOverviewShowsTheLevel();

  drive->Place(IDT_PLACE_ENTRANCE, {16, 30});
  drive->Drag({2, 3}, {60, 20});
  {
    SCOPED_TRACE("after a stroke");
    ExpectOverviewShowsTheLevel();
    EXPECT_TRUE(Overview().Picture().At({60, 20}) ==
                CanvasPalette::Classic().terrain);
  }
  frame->OnCommand(IDM_EDIT_UNDO);
  {
    SCOPED_TRACE("after an undo");
    ExpectOverviewShowsTheLevel();
    EXPECT_TRUE(Overview().Picture().At({60, 20}) ==
                CanvasPalette::Classic().paper);
  }
  frame->OnCommand(IDM_LEVEL_ADD);
  frame->OnNotify(IDC_LEVEL_NUMBER_SPIN, +1);
  ASSERT_EQ(frame->Pack().m_nCurLevel, 1);
  drive->Drag({5, 5}, {5, 40});
  {
    SCOPED_TRACE("after a level change");
    ExpectOverviewShowsTheLevel();
  }
  Widen(3);
  {
    SCOPED_TRACE("after a resize");
    EXPECT_EQ(Overview().Picture().Width(), 120 * Overview().Picture().Scale());
    ExpectOverviewShowsTheLevel();
  }
  frame->OnCommand(IDM_VIEW_CLASSIC_COLOURS);
  {
    SCOPED_TRACE("in clear colours");
    ExpectOverviewShowsTheLevel();
  }
}

TEST_F(ViewOptionsTest, NoPreviewOrFloatShowsInTheOverviewAsTerrain) {
  frame->OnCommand(IDM_VIEW_OVERVIEW);
  ProcessEvents();
  for (const bool classic : {true, false}) {
    SCOPED_TRACE(classic ? "classic colours" : "clear colours");
    frame->SetClassicColours(classic);
    // A placement preview stands in the terrain while the pointer is there.
    frame->OnCommand(IDT_PLACE_BLOCK);
    drive->Move({40, 40}, false);
    ASSERT_TRUE(frame->Logic().PreviewShown());
    ExpectOverviewShowsTheLevel();
    frame->OnCommand(IDT_PEN_SMALL_BLACK);
    // A floating selection of terrain, dragged over empty ground.
    drive->Drag({0, 0}, {8, 8});  // the terrain to lift
    frame->OnCommand(IDT_TOOL_SELECT);
    drive->Drag({0, 0}, {9, 9});
    drive->Drag({4, 4}, {50, 30});
    ASSERT_TRUE(frame->Logic().Selection().Floating());
    ExpectOverviewShowsTheLevel();
    // The view's commands leave the float standing.
    frame->OnCommand(IDM_VIEW_CALCULATOR_SCREEN);
    frame->OnCommand(IDM_VIEW_CALCULATOR_SCREEN);
    EXPECT_TRUE(frame->Logic().Selection().Floating());
    frame->OnCommand(IDK_CANCEL);
    frame->OnCommand(IDT_PEN_SMALL_BLACK);
  }
}

TEST_F(ViewOptionsTest, AClickOrDragInTheOverviewMovesTheViewThere) {
  Widen(MAX_WIDTH_BYTES - MIN_WIDTH_BYTES);  // 288 x 64: wider than the canvas
  frame->OnCommand(IDM_VIEW_OVERVIEW);
  ProcessEvents();
  ASSERT_TRUE(Canvas().Logic().HorizontalBar().Enabled());
  // The last origin the scroll handlers reach on the right.
  CanvasView end = View();
  for (int i = 0; i < 400; ++i) {
    end.OnHScroll(SB_LINERIGHT, 0, frame->Pack().Current());
  }
  const struct {
    const char* name;
    Point clicked;
    int originX;  // where the view stands afterwards; 0: centred there
  } kCases[] = {
      {"the middle", {150, 30}, 0},
      {"near the left edge", {2, 30}, MIN_ORIGIN},
      {"near the right edge", {286, 30}, end.m_nOriginX},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    ClickOverview(c.clicked);
    if (c.originX == 0) {
      EXPECT_LE(std::abs(CentrePixel().x - c.clicked.x), 1);
    } else {
      EXPECT_EQ(View().m_nOriginX, c.originX);
    }
    // The overview shows where the view went.
    const Rect shown = Overview().ViewRect();
    EXPECT_TRUE(shown.left <= c.clicked.x && c.clicked.x < shown.right);
    // The canvas shows the level at its new place.
    EXPECT_TRUE(Canvas().Screen() == [&] {
      Canvas().RefreshView();
      return Canvas().Screen().copy();
    }());
  }
  // A drag carries the view along, and past the picture it keeps to the edge.
  const int scale = Overview().Picture().Scale();
  QWidget* picture = Overview().PictureWidget();
  const QPoint origin = Overview().PictureOrigin();
  MousePress(picture, origin + QPoint(100 * scale, 10 * scale));
  EXPECT_LE(std::abs(CentrePixel().x - 100), 1);
  MouseMove(picture, origin + QPoint(180 * scale, 10 * scale), true);
  EXPECT_LE(std::abs(CentrePixel().x - 180), 1);
  MouseMove(picture, origin + QPoint(-50, 10 * scale), true);
  MouseRelease(picture, origin + QPoint(-50, 10 * scale));
  EXPECT_EQ(View().m_nOriginX, MIN_ORIGIN);
}

TEST_F(ViewOptionsTest, ScrollingTheCanvasMovesTheOverviewsRectangle) {
  Widen(MAX_WIDTH_BYTES - MIN_WIDTH_BYTES);
  frame->OnCommand(IDM_VIEW_OVERVIEW);
  ProcessEvents();
  QScrollBar* bar = nullptr;
  for (QScrollBar* b : frame->findChildren<QScrollBar*>()) {
    if (b->orientation() == Qt::Horizontal && b->isVisible() &&
        b->parentWidget() == Canvas().parentWidget()) {
      bar = b;
    }
  }
  ASSERT_NE(bar, nullptr);
  bar->triggerAction(QAbstractSlider::SliderToMinimum);
  const Rect before = Overview().ViewRect();
  EXPECT_EQ(before.left, 0);
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  const Rect after = Overview().ViewRect();
  EXPECT_GT(after.left, before.left);
}

TEST_F(ViewOptionsTest, OverviewColoursAndFrameWorkAtEveryZoom) {
  Widen(MAX_WIDTH_BYTES - MIN_WIDTH_BYTES);
  frame->OnCommand(IDM_VIEW_OVERVIEW);
  frame->OnCommand(IDM_VIEW_CALCULATOR_SCREEN);
  drive->Place(IDT_PLACE_EXIT, {64, 30});
  for (const int zoom : {1, 8, 16}) {
    SCOPED_TRACE(zoom);
    Canvas().SetZoom(zoom, true);
    ProcessEvents();
    // A click in the overview centres the view there, as far as it goes.
    ClickOverview({150, 32});
    const Rect shown = Overview().ViewRect();
    EXPECT_TRUE(shown.left <= 150 && 150 < shown.right);
    if (zoom >= 8) {  // at 1x the scroll bar's end comes first
      EXPECT_LE(std::abs(CentrePixel().x - 150), 1);
    }
    // The frame lies on the cells of the pixels it frames.
    drive->Move({150, 32}, false);
    const Rect framed = frame->ScreenFrame().Framed();
    EXPECT_EQ(framed, CalculatorScreenAt(frame->Pack().Current(), {150, 32}));
    const Rect first = View().CellClientRect({framed.left, framed.top});
    EXPECT_EQ(frame->ScreenFrame().OutlineRect().topLeft(),
              QPoint(first.left - 1, first.top - 1));
    // Clear colours: what the pen and the preview leave is what a full
    // paint draws.
    frame->SetClassicColours(false);
    frame->OnCommand(IDT_PEN_SMALL_BLACK);
    drive->Drag({140, 20}, {170, 40});
    frame->OnCommand(IDT_PLACE_BLOCK);
    drive->Move({150, 40}, false);
    drive->Move({160, 44}, false);
    const QImage shownImage = Canvas().Screen().copy();
    frame->SetClassicColours(false);
    EXPECT_TRUE(Canvas().Screen() == shownImage);
    frame->OnCommand(IDK_CANCEL);
    frame->SetClassicColours(true);
    ExpectOverviewShowsTheLevel();
  }
}

// What the same author's work leaves in the pack and in the file.
struct Result {
  std::vector<std::uint8_t> file;
  PackContents contents;
};

class ColoursTest : public ViewOptionsTest {
 protected:
  Result Work(bool classic, const std::string& path) {
    frame->SetClassicColours(classic);
    drive->Place(IDT_PLACE_ENTRANCE, {8, 30});
    drive->Place(IDT_PLACE_EXIT, {64, 30});
    drive->Place(IDT_PLACE_BLOCK, {40, 40});
    drive->Drag({0, 20}, {90, 28});  // over the objects
    frame->OnCommand(IDT_PEN_SMALL_WHITE);
    drive->Drag({10, 36}, {70, 36});
    frame->OnCommand(IDT_PLACE_BLOCK);
    drive->Move({24, 44}, false);  // a preview stands while the file is written
    drive->SaveAs(path);
    return {testsupport::ReadBytes(path), frame->Pack().Contents()};
  }
};

TEST_F(ColoursTest, TheLevelAndTheFileAreTheSameEitherWay) {
  // The file's name goes into it: the same name in two folders.
  testsupport::TempFolder first;
  testsupport::TempFolder second;
  const Result classic = Work(true, (first.Path() / "pack.83p").string());
  frame->OnCommand(IDT_PEN_SMALL_BLACK);
  frame->Pack().m_bModified = false;
  platform.answers.push_back(IPlatform::Answer::No);
  frame->OnCommand(IDM_FILE_NEW);
  const Result clear = Work(false, (second.Path() / "pack.83p").string());
  ASSERT_FALSE(classic.file.empty());
  EXPECT_TRUE(classic.file == clear.file);
  ASSERT_EQ(classic.contents.levels.size(), clear.contents.levels.size());
  // A fresh level's passcode is drawn at random, and the file keeps none for
  // the first level; the rest is the author's work.
  LevelRecord clearLevel = clear.contents.levels[0];
  std::memcpy(clearLevel.m_szPasscode, classic.contents.levels[0].m_szPasscode,
              sizeof clearLevel.m_szPasscode);
  EXPECT_TRUE(classic.contents.levels[0].SameLevelAs(clearLevel));
}

TEST_F(ColoursTest, ClassicIsByteForByteTheBlackAndWhiteCanvas) {
  drive->Place(IDT_PLACE_EXIT, {64, 30});
  drive->Drag({0, 20}, {90, 28});
  frame->OnCommand(IDT_PLACE_ENTRANCE);
  drive->Move({20, 40}, false);  // the preview, inverted in the terrain
  const QImage before = Canvas().Screen().copy();
  frame->SetClassicColours(false);
  const QImage clear = Canvas().Screen().copy();
  EXPECT_FALSE(clear == before);
  frame->SetClassicColours(true);
  EXPECT_TRUE(Canvas().Screen() == before);
}

TEST_F(ColoursTest, ClearColoursGiveTheObjectsAndPreviewInksOfTheirOwn) {
  frame->SetClassicColours(false);
  const CanvasPalette clear = CanvasPalette::Clear();
  drive->Place(IDT_PLACE_EXIT, {64, 30});
  drive->Drag({0, 20}, {90, 34});  // terrain through the exit
  const auto colourOf = [&](Point level) {
    return Canvas().Screen().pixel(CellPoint(level)) | 0xFF000000u;
  };
  // Every pixel of the exit's sprite shows the exit's ink, over terrain too.
  const CLevel& level = frame->Pack().Current();
  const LevelObject& exit = level.m_objects[EXIT_SLOT];
  const Sprite& sprite = GetSprite(OBJ_EXIT);
  int inked = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      if (!(sprite[16 * (x / 8) + y] & (0x80u >> (x % 8)))) continue;
      EXPECT_EQ(colourOf({8 * exit.col + x, exit.row + y}), clear.exit);
      ++inked;
    }
  }
  EXPECT_GT(inked, 0);
  // The grid is light grey; the outline stays black.
  const Rect cell = View().CellClientRect({10, 10});
  EXPECT_EQ(Canvas().Screen().pixel(cell.left - 1, cell.top) | 0xFF000000u,
            clear.grid);
  // The preview stands over the level in its ink and leaves the terrain as
  // it was; moving on, the level shows again exactly as a full paint does.
  const std::vector<std::uint8_t> terrain(level.m_bitmap,
                                          level.m_bitmap + level.BitmapBytes());
  frame->OnCommand(IDT_PLACE_BLOCK);
  drive->Move({16, 24}, false);
  ASSERT_TRUE(frame->Logic().PreviewShown());
  const Sprite& block = GetSprite(OBJ_BLOCK);
  const Point topLeft = frame->Logic().m_ptLast - Point{8, 8};
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      if (!(block[16 * (x / 8) + y] & (0x80u >> (x % 8)))) continue;
      EXPECT_EQ(colourOf(topLeft + Point{x, y}), clear.preview);
    }
  }
  const PackContents contents = frame->Pack().Contents();
  EXPECT_TRUE(
      std::equal(terrain.begin(), terrain.end(), contents.levels[0].m_bitmap));
  drive->Move({60, 26}, false);
  drive->Move({20, 44}, false);
  const QImage shown = Canvas().Screen().copy();
  const int fullPaints = Canvas().FullPaints();
  frame->SetClassicColours(false);  // paints afresh, keeping the preview
  EXPECT_TRUE(Canvas().Screen() == shown);
  EXPECT_EQ(Canvas().FullPaints(), fullPaints + 1);
}

TEST_F(ViewOptionsTest, TheScreenFrameFollowsThePointerAndTouchesNothing) {
  Widen(MAX_WIDTH_BYTES - MIN_WIDTH_BYTES);
  const QImage before = Canvas().Screen().copy();
  const PackContents pack = frame->Pack().Contents();
  const bool modified = frame->Pack().m_bModified;
  frame->OnCommand(IDM_VIEW_CALCULATOR_SCREEN);
  CScreenFrame& screen = frame->ScreenFrame();
  EXPECT_TRUE(screen.Framed().IsEmpty());  // no pointer over the canvas yet
  for (const Point at : {Point{100, 30}, Point{1, 1}, Point{140, 60}}) {
    drive->Move(at, false);
    EXPECT_EQ(screen.Framed(), CalculatorScreenAt(frame->Pack().Current(), at));
  }
  // Drawn over the canvas on the grid lines around the framed cells...
  const QRect outline = screen.OutlineRect();
  const QImage grabbed = Canvas().grab().toImage();
  EXPECT_NE(grabbed.pixel(outline.left(), outline.center().y()),
            before.pixel(outline.left(), outline.center().y()));
  // ...never into the canvas's picture or the level.
  EXPECT_TRUE(Canvas().Screen() == before);
  EXPECT_TRUE(frame->Pack().Contents().levels[0].SameLevelAs(pack.levels[0]));
  EXPECT_EQ(frame->Pack().m_bModified, modified);
  frame->OnCommand(IDM_VIEW_CALCULATOR_SCREEN);
  EXPECT_TRUE(screen.Framed().IsEmpty());
}

TEST(ViewSettings, AreRememberedAndABadValueGivesTheDefaults) {
  QtTestApp();
  ScriptedPlatform platform;
  testsupport::TempFolder folder;
  const QString path =
      QString::fromStdString((folder.Path() / "editor.conf").string());
  const auto open = [&] {
    auto* frame = new CEditorFrame(platform);
    frame->Session().UseSettings(std::make_unique<CEditorSettings>(path));
    frame->show();
    ProcessEvents();
    return frame;
  };
  CEditorFrame* frame = open();
  EXPECT_TRUE(frame->ClassicColours());
  EXPECT_FALSE(frame->CalculatorScreen());
  EXPECT_FALSE(frame->Overview().isVisible());
  frame->OnCommand(IDM_VIEW_CLASSIC_COLOURS);
  frame->OnCommand(IDM_VIEW_CALCULATOR_SCREEN);
  frame->OnCommand(IDM_VIEW_OVERVIEW);
  frame->close();
  ProcessEvents();

  frame = open();
  EXPECT_FALSE(frame->ClassicColours());
  EXPECT_FALSE(frame->Action(IDM_VIEW_CLASSIC_COLOURS)->isChecked());
  EXPECT_TRUE(frame->CalculatorScreen());
  EXPECT_TRUE(frame->Action(IDM_VIEW_CALCULATOR_SCREEN)->isChecked());
  EXPECT_TRUE(frame->Overview().isVisible());
  frame->close();
  ProcessEvents();

  for (const char* bad : {"maybe", "1", ""}) {
    SCOPED_TRACE(bad);
    testsupport::WriteText(path.toStdString(),
                           std::string("[view]\nclassicColours=") + bad +
                               "\ncalculatorScreen=" + bad + "\n");
    frame = open();
    EXPECT_TRUE(frame->ClassicColours());
    EXPECT_FALSE(frame->CalculatorScreen());
    frame->close();
    ProcessEvents();
  }
  EXPECT_EQ(CLevel::s_nLiveCount, 0);
}

}  // namespace
