// The View menu's actions for the randomised session: colours turned off
// and on, clicks and drags in the overview, and the calculator screen's
// frame turned on and moved about. Whenever the overview shows, it must show
// the level as the pack holds it.
#include "SessionActions.h"
#include "canvas/OverviewExpected.h"
#include "shell/CommandIds.h"
#include "shell/OverviewPanel.h"
#include "shell/ScreenFrame.h"
#include "support/QtTestApp.h"

namespace {

void ExpectOverviewShowsTheLevel(Session& s) {
  COverviewPanel& overview = s.Frame().Overview();
  if (!overview.isVisible()) return;
  const PackContents contents = s.Pack().Contents();
  overviewtest::ExpectShows(
      overview.Picture(),
      contents.levels[static_cast<std::size_t>(s.Pack().m_nCurLevel)],
      s.Frame().ClassicColours() ? CanvasPalette::Classic()
                                 : CanvasPalette::Clear());
}

const bool kColours =
    AddSessionAction({"toggle colours", 2, [](Session& s) {
                        s.Frame().OnCommand(IDM_VIEW_CLASSIC_COLOURS);
                        ExpectOverviewShowsTheLevel(s);
                      }});

const bool kOverview =
    AddSessionAction({"overview click or drag", 2, [](Session& s) {
                        COverviewPanel& overview = s.Frame().Overview();
                        if (!overview.isVisible() || s.Chance(10)) {
                          s.Frame().OnCommand(IDM_VIEW_OVERVIEW);
                        }
                        ExpectOverviewShowsTheLevel(s);
                        if (!overview.isVisible()) return;
                        QWidget* picture = overview.PictureWidget();
                        const auto anywhere = [&] {
                          return QPoint(s.Uniform(-10, picture->width() + 10),
                                        s.Uniform(-10, picture->height() + 10));
                        };
                        const QPoint from = anywhere();
                        MousePress(picture, from);
                        if (s.Chance(50)) MouseMove(picture, anywhere(), true);
                        MouseRelease(picture, from);
                        ExpectOverviewShowsTheLevel(s);
                      }});

const bool kScreenFrame = AddSessionAction(
    {"toggle screen frame", 1, [](Session& s) {
       s.Frame().OnCommand(IDM_VIEW_CALCULATOR_SCREEN);
       const Point at = s.DrawPoint();
       s.drive->Move(at, false);
       CScreenFrame& frame = s.Frame().ScreenFrame();
       if (frame.Enabled()) {
         EXPECT_EQ(frame.Framed(),
                   CalculatorScreenAt(s.Pack().Current(),
                                      s.Frame().Logic().ClientToLevel(
                                          {s.drive->CellPoint(at).x(),
                                           s.drive->CellPoint(at).y()})));
       } else {
         EXPECT_TRUE(frame.Framed().IsEmpty());
       }
     }});

}  // namespace
