// A randomised session through the real window: seeded author actions
// (drawing, placing, dialogs, levels, files, undo) and, after every one, the
// check that the modified flag, the title's "*", the "Save changes?"
// questions and the file on disk agree, that no preview is in a level, and
// that the canvas shows what a full paint from the level draws. Each seed
// starts in one colour scheme and zoom; the session's actions change both.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "FrameDriver.h"
#include "SessionActions.h"
#include "ShownFrameFixture.h"
#include "canvas/SelectTool.h"
#include "dialogs/LevelOrderDlg.h"
#include "dialogs/PopulationDlg.h"
#include "shell/CommandIds.h"
#include "shell/EditorFrame.h"
#include "support/HeapInUse.h"

namespace {

using Answer = IPlatform::Answer;

int PenCommand(Session& s) {
  return s.Pick(std::vector<int>{IDT_PEN_SMALL_BLACK, IDT_PEN_LARGE_BLACK,
                                 IDT_PEN_SMALL_WHITE, IDT_PEN_LARGE_WHITE});
}
int PlacementCommand(Session& s) {
  return s.Pick(
      std::vector<int>{IDT_PLACE_ENTRANCE, IDT_PLACE_EXIT, IDT_PLACE_BLOCK});
}
// The first pixel, row by row, where two images of one size differ.
QPoint FirstDifference(const QImage& a, const QImage& b) {
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.pixel(x, y) != b.pixel(x, y)) return {x, y};
    }
  }
  return {-1, -1};
}

Answer SaveChangesAnswer(Session& s) {
  return s.Pick(std::vector<Answer>{Answer::Yes, Answer::No, Answer::Cancel});
}

// A file name for Save As: a file of the session again, or a new one.
std::string FileName(Session& s) {
  if (!s.files.empty() && s.Chance(50)) return s.Pick(s.files);
  return s.folder / ("pack" + std::to_string(s.Uniform(0, 3)) + ".83p");
}
void RememberFile(Session& s) {
  const std::string& path = s.Pack().m_szFilePath;
  if (!path.empty() &&
      std::find(s.files.begin(), s.files.end(), path) == s.files.end()) {
    s.files.push_back(path);
  }
}

// Answers the dialogs a save may open, with the session's password.
int SaveDialogs(QDialog& dialog) {
  return FrameDriver::AnswerDialog(dialog, QStringLiteral("pw"));
}

// A file command whose save may ask for a name (Save of a pack without a
// file, or the save "Save changes?" makes before New).
void FileCommand(Session& s, int command) {
  s.platform.fileNames.push_back(QString::fromStdString(FileName(s)));
  s.drive->WithDialogs(command, SaveDialogs);
  s.platform.fileNames.clear();
  RememberFile(s);
}

// File > Load... of one file of the session, the damaged file or nothing;
// the password prompt is answered right, wrong (then cancelled) or
// cancelled.
void Load(Session& s) {
  s.saveChanges = SaveChangesAnswer(s);
  // A save that "Save changes?" asks for may need a name.
  s.platform.fileNames.push_back(QString::fromStdString(FileName(s)));
  const int kind = s.Uniform(0, 4);
  std::string path;
  if (kind <= 1 && !s.files.empty()) path = s.Pick(s.files);
  if (kind == 2) path = s.damaged;
  if (!path.empty()) {
    s.platform.fileNames.push_back(QString::fromStdString(path));
  }
  const int prompt = s.Uniform(0, 2);
  s.drive->WithDialogs(IDM_FILE_LOAD, [prompt](QDialog& dialog) {
    if (qobject_cast<CPasswordPromptDlg*>(&dialog) == nullptr) {
      return SaveDialogs(dialog);
    }
    if (prompt == 0) return SaveDialogs(dialog);
    if (prompt == 1) FrameDriver::AnswerDialog(dialog, QStringLiteral("xx"));
    return int{QDialog::Rejected};
  });
  s.platform.fileNames.clear();
  RememberFile(s);
}

// The window's own actions; other test files add theirs.
std::vector<SessionAction> BuiltInActions() {
  return {
      {"stroke", 12,
       [](Session& s) {
         if (s.Chance(30)) s.Frame().OnCommand(PenCommand(s));
         const Point from = s.DrawPoint();
         s.drive->Press(from);
         for (int i = s.Uniform(1, 3); i > 0; --i) {
           s.drive->Move(s.DrawPoint(), true);
         }
         s.drive->Release(s.DrawPoint());
       }},
      {"placement", 12,
       [](Session& s) {
         if (!s.Frame().Logic().PlacementInForce() || s.Chance(40)) {
           s.Frame().OnCommand(PlacementCommand(s));
         }
         if (s.Chance(60)) s.drive->Move(s.PlacePoint(), false);
         s.drive->Press(s.PlacePoint());
         // Drags in and out of the level with the button held.
         for (int i = s.Uniform(0, 3); i > 0; --i) {
           s.drive->Move(s.PlacePoint(), true);
         }
         s.drive->Release(s.PlacePoint());
         if (s.Chance(50)) s.drive->Move(s.PlacePoint(), false);
       }},
      {"hover", 4, [](Session& s) { s.drive->Move(s.PlacePoint(), false); }},
      {"choose a tool", 5,
       [](Session& s) {
         s.Frame().OnCommand(s.Chance(50) ? PenCommand(s)
                                          : PlacementCommand(s));
       }},
      {"fill the level with blocks", 1,
       [](Session& s) {
         for (int i = s.Pack().Current().m_nBlockCount; i < MAX_BLOCKS; ++i) {
           s.drive->Place(IDT_PLACE_BLOCK,
                          {8 * (i % 10), Session::kPlacementTop});
         }
       }},
      {"remove block", 2,
       [](Session& s) { s.Frame().OnCommand(IDT_REMOVE_BLOCK); }},
      {"reset level", 1,
       [](Session& s) {
         s.saveChanges = s.Chance(50) ? Answer::Yes : Answer::No;
         s.Frame().OnCommand(IDT_RESET_LEVEL);
       }},
      {"entrance and exit everywhere", 3,
       [](Session& s) { s.drive->PlaceEntranceAndExitEverywhere(); }},
      {"reorder levels", 4,
       [](Session& s) {
         const bool ok = s.Chance(70);
         std::vector<int> moves;
         for (int i = s.Uniform(0, 3); i > 0; --i)
           moves.push_back(s.Uniform(0, 8));
         s.drive->Reorder(
             [&](CLevelOrderDlg& dialog) {
               for (int move : moves) {
                 const int rows = dialog.List()->count();
                 dialog.List()->setCurrentRow(move % rows);
                 if (move % 3 == 0) dialog.OnMoveUp();
                 if (move % 3 == 1) dialog.OnMoveDown();
                 if (move % 3 == 2) dialog.OnDelete();
               }
             },
             ok);
       }},
      {"population", 3,
       [](Session& s) {
         const bool ok = s.Chance(60);
         const int population = s.Uniform(10, 30);
         s.drive->WithDialogs(IDT_POPULATION, [&](QDialog& dialog) {
           auto* population_dialog = qobject_cast<CPopulationDlg*>(&dialog);
           if (population_dialog == nullptr || !ok) {
             return int{QDialog::Rejected};
           }
           population_dialog->m_nPopulation = population;
           return int{QDialog::Accepted};
         });
       }},
      {"security info", 2,
       [](Session& s) {
         const bool ok = s.Chance(60);
         const QString password =
             s.Chance(50) ? QStringLiteral("pw") : QStringLiteral("qq");
         s.drive->WithDialogs(IDM_FILE_SECURITY, [&](QDialog& dialog) {
           return ok ? FrameDriver::AnswerDialog(dialog, password)
                     : int{QDialog::Rejected};
         });
       }},
      {"step level", 5,
       [](Session& s) {
         s.saveChanges = s.Chance(50) ? Answer::Yes : Answer::No;
         s.Frame().OnNotify(IDC_LEVEL_NUMBER_SPIN, s.Chance(50) ? 1 : -1);
       }},
      {"resize", 4,
       [](Session& s) {
         s.Frame().OnNotify(s.Chance(50) ? IDC_RESIZE_WIDTH : IDC_RESIZE_HEIGHT,
                            s.Chance(50) ? 1 : -1);
       }},
      {"type", 4,
       [](Session& s) {
         const bool name = s.Chance(50);
         const QString text =
             name ? QStringLiteral("Cave %1").arg(s.Uniform(0, 9))
                  : QStringLiteral("ABCD").left(s.Chance(80) ? 4 : 2);
         FrameDriver::Type(
             name ? s.Frame().LevelNameEdit() : s.Frame().PasscodeEdit(), text);
       }},
      {"save", 5,
       [](Session& s) {
         if (s.Chance(50)) s.drive->PlaceEntranceAndExitEverywhere();
         FileCommand(s, IDM_FILE_SAVE);
       }},
      {"save as", 3,
       [](Session& s) {
         if (s.Chance(50)) s.drive->PlaceEntranceAndExitEverywhere();
         s.drive->SaveAs(FileName(s));
         RememberFile(s);
       }},
      {"load", 6, Load},
      {"new", 2,
       [](Session& s) {
         s.saveChanges = SaveChangesAnswer(s);
         FileCommand(s, IDM_FILE_NEW);
       }},
      {"exit", 1,
       [](Session& s) {
         // Yes is given only where the save needs no new name, so the file
         // it must write is known before the window goes.
         // Closing puts a floating selection down before it asks; so does
         // a command here, so that the file the close writes is known.
         if (s.Frame().Logic().Selection().Floating()) {
           s.Frame().OnCommand(IDT_TOOL_SELECT);
         }
         const std::string path = s.Pack().m_szFilePath;
         s.saveChanges = SaveChangesAnswer(s);
         if (path.empty() && s.saveChanges == Answer::Yes) {
           s.saveChanges = Answer::No;
         }
         const bool modified = s.Pack().m_bModified;
         const std::vector<std::uint8_t> before = testsupport::ReadBytes(path);
         const std::vector<std::uint8_t> expected =
             path.empty() ? before : s.drive->EncodedFile();
         const Answer answer = s.saveChanges;
         s.platform.onDialog = SaveDialogs;
         s.Frame().OnCommand(IDM_FILE_EXIT);
         s.platform.onDialog = nullptr;
         ProcessEvents();
         if (!s.frame.isNull()) {
           EXPECT_TRUE(modified &&
                       (answer == Answer::Cancel || answer == Answer::Yes))
               << "the window stayed open";
           return;
         }
         s.closed = true;
         if (path.empty()) return;
         if (modified && answer == Answer::No) {
           EXPECT_TRUE(testsupport::ReadBytes(path) == before)
               << "No must leave the file alone";
         } else {
           EXPECT_TRUE(testsupport::ReadBytes(path) == expected)
               << "the file must hold the pack that was closed";
         }
       }},
      {"undo", 8, [](Session& s) { s.Frame().OnCommand(IDM_EDIT_UNDO); }},
      {"redo", 5, [](Session& s) { s.Frame().OnCommand(IDM_EDIT_REDO); }},
      {"undo in the middle of a stroke", 1,
       [](Session& s) {
         s.Frame().OnCommand(PenCommand(s));
         s.drive->Press(s.DrawPoint());
         s.drive->Move(s.DrawPoint(), true);
         s.Frame().OnCommand(IDM_EDIT_UNDO);
         s.drive->Release(s.DrawPoint());
       }},
  };
}

}  // namespace

std::vector<SessionAction>& SessionActions() {
  static std::vector<SessionAction> actions = BuiltInActions();
  return actions;
}

bool AddSessionAction(SessionAction action) {
  SessionActions().push_back(std::move(action));
  return true;
}

namespace {

using Clock = std::chrono::steady_clock;

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override { QtTestApp(); }
  void TearDown() override {
    if (!session) return;
    CloseWindow();
  }

  void OpenWindow() {
    session->frame = new CEditorFrame(platform);
    session->frame->show();
    ProcessEvents();
    // The seed chooses the view the window starts with, so that the seeds
    // together cover both schemes at 4, 6 and 16 times.
    session->frame->SetClassicColours(seed % 2 == 0);
    session->frame->Canvas().SetZoom(kStartZooms[seed % 3], true);
    ProcessEvents();
    session->drive = std::make_unique<FrameDriver>(*session->frame, platform);
    session->closed = false;
  }
  void CloseWindow() {
    if (session->frame.isNull()) return;
    session->drive.reset();
    session->frame->Pack().m_bModified = false;  // close without the prompt
    session->frame->close();
    ProcessEvents();
    EXPECT_TRUE(session->frame.isNull());
    EXPECT_EQ(CLevel::s_nLiveCount, 0);
  }

  // What must hold between any two actions.
  void Check(const std::string& when) {
    Session& s = *session;
    CEditorFrame& frame = s.Frame();
    FrameDriver& drive = *s.drive;
    // What the tools and commands painted directly is what a full paint
    // draws: no stale pixel, no part of a change left out.
    CCanvasWidget& canvas = frame.Canvas();
    const QImage fresh = canvas.PaintedAfresh();
    if (!(canvas.Screen() == fresh)) {
      const QPoint at = FirstDifference(canvas.Screen(), fresh);
      const Point pixel = frame.Logic().ClientToLevel({at.x(), at.y()});
      ADD_FAILURE() << when << ": the canvas differs from a full paint ("
                    << (frame.ClassicColours() ? "classic" : "clear")
                    << " colours, zoom " << canvas.UserZoom()
                    << (canvas.GridOn() ? "" : ", no grid")
                    << "), first at client (" << at.x() << ", " << at.y()
                    << "), in the block of level pixel (" << pixel.x << ", "
                    << pixel.y << ")";
    }
    const bool modified = frame.Pack().m_bModified;
    EXPECT_EQ(drive.TitleStarred(), modified) << when;
    EXPECT_EQ(drive.ExitWouldAsk(), modified) << when;
    // Asking Load settles the canvas, as any command does: it takes a
    // preview away and puts a floating selection down. A preview or a float
    // shown is left standing to see what the next action makes of it.
    if (!frame.Logic().PreviewShown() &&
        !frame.Logic().Selection().Floating()) {
      EXPECT_EQ(drive.LoadWouldAsk(), modified) << when;
    }
    const std::string& path = frame.Pack().m_szFilePath;
    if (!modified && !path.empty()) {
      EXPECT_TRUE(testsupport::ReadBytes(path) == drive.EncodedFile())
          << when << ": the pack is unmodified, but its file differs";
    }
    EXPECT_EQ(drive.TerrainPixelsFrom(Session::kPlacementTop), 0)
        << when << ": a preview stayed in the terrain";
    // The status bar's note never runs under one of its fields.
    QStatusBar& bar = *frame.statusBar();
    int fieldsLeft = bar.width();
    for (const QLabel* field :
         bar.findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
      if (field->isVisible()) {
        fieldsLeft = std::min(fieldsLeft, field->geometry().left());
      }
    }
    EXPECT_LE(bar.fontMetrics().horizontalAdvance(bar.currentMessage()),
              fieldsLeft)
        << when << ": the note \"" << bar.currentMessage().toStdString()
        << "\" runs under a field";
  }

  // Runs `steps` actions chosen with `runSeed`, or fewer when `until`
  // comes first; `afterStep` is told each step that passed its check. The
  // seed and the actions so far are printed with any failure.
  void Run(unsigned runSeed, int steps,
           Clock::time_point until = Clock::time_point::max(),
           const std::function<void(int)>& afterStep = {}) {
    seed = runSeed;
    session = std::make_unique<Session>(platform, folder, seed);
    session->damaged = folder / "damaged.83p";
    testsupport::WriteBytes(session->damaged, {'*', '*', 'T', 'I', '8', '3'});
    platform.onMessage = [this](const ScriptedPlatform::MessageCall& call) {
      if (call.text == "Save changes?") {
        return std::optional<Answer>(session->saveChanges);
      }
      if (call.buttons == IPlatform::Buttons::YesNo) {
        return std::optional<Answer>(session->Chance(50) ? Answer::Yes
                                                         : Answer::No);
      }
      return std::optional<Answer>(Answer::Ok);
    };
    OpenWindow();

    const std::vector<SessionAction>& actions = SessionActions();
    int total = 0;
    for (const SessionAction& a : actions) total += a.weight;
    std::ostringstream log;
    for (int step = 0; step < steps && Clock::now() < until; ++step) {
      int pick = session->Uniform(0, total - 1);
      const SessionAction* action = &actions.front();
      for (const SessionAction& a : actions) {
        if (pick < a.weight) {
          action = &a;
          break;
        }
        pick -= a.weight;
      }
      log << step << ' ' << action->name << '\n';
      const std::string when = "seed " + std::to_string(seed) +
                               ", after step " + std::to_string(step) + " (" +
                               action->name + ")";
      SCOPED_TRACE(::testing::Message() << "actions so far:\n" << log.str());
      action->run(*session);
      // Between two actions the program's event loop is back at its top,
      // where objects let go with deleteLater() are deleted (the main
      // window's layout animations among them).
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      if (session->closed) {
        OpenWindow();
        Load(*session);  // the author opens a file again, or starts afresh
      }
      Check(when);
      if (HasFailure()) return;  // the first failing step says the most
      if (afterStep) afterStep(step);
    }
  }

  static constexpr int kStartZooms[] = {4, 6, 16};

  ScriptedPlatform platform;
  testsupport::TempFolder folder{"plodderz-session"};
  std::unique_ptr<Session> session;
  unsigned seed = 0;
};

class SessionSeeds : public SessionTest,
                     public ::testing::WithParamInterface<unsigned> {};

TEST_P(SessionSeeds, TheWindowAndTheDiskAgreeAfterEveryStep) {
  Run(GetParam(), 250);
}

INSTANTIATE_TEST_SUITE_P(Seeds, SessionSeeds, ::testing::Range(1u, 13u));

// A number from the environment, or `fallback` when it is unset or not a
// positive whole number.
long EnvNumber(const char* name, long fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr) return fallback;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return end != text && *end == '\0' && value > 0 ? value : fallback;
}

// The heap may grow this much after the warm-up: the undo history keeps at
// most PackHistory::kStepLimit steps (New and Load clear it), each holding
// a few shared level records, and Qt keeps its own caches (pixmaps, fonts)
// of a few megabytes. A leak of even a few hundred bytes a step passes it
// within a long run.
constexpr std::size_t kSoakHeapGrowth = 16u * 1024u * 1024u;

// The session run for a set time rather than a set number of steps:
// PLODDERZ_SOAK_SECONDS (60 in the suite; an hour when asked), with the
// seed PLODDERZ_SOAK_SEED. Every step passes the same checks; the heap
// after the first minute (a third of a shorter run) must stay within
// kSoakHeapGrowth of what it was then.
TEST_F(SessionTest, SoakKeepsEveryCheckAndTheHeapLevelsOff) {
  const auto seconds =
      std::chrono::seconds(EnvNumber("PLODDERZ_SOAK_SECONDS", 60));
  const auto soakSeed =
      static_cast<unsigned>(EnvNumber("PLODDERZ_SOAK_SEED", 1000));
  const Clock::time_point start = Clock::now();
  const Clock::time_point warm =
      start + std::min<Clock::duration>(std::chrono::minutes(1), seconds / 3);
  std::size_t warmHeap = 0;
  std::size_t peak = 0;
  int steps = 0;
  Run(soakSeed, std::numeric_limits<int>::max(), start + seconds,
      [&](int step) {
        steps = step + 1;
        const std::size_t heap = testsupport::HeapInUse();
        if (warmHeap == 0 && Clock::now() >= warm) warmHeap = heap;
        if (warmHeap != 0) peak = std::max(peak, heap);
      });
  if (HasFailure()) return;
  ASSERT_NE(warmHeap, 0u) << "the run ended before its warm-up";
  const std::size_t end = testsupport::HeapInUse();
  std::printf(
      "[ soak     ] seed %u: %d steps in %lld s; heap after warm-up %zu KB, "
      "peak %zu KB, at the end %zu KB\n",
      soakSeed, steps,
      static_cast<long long>(
          std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start)
              .count()),
      warmHeap / 1024, peak / 1024, end / 1024);
  RecordProperty("steps", steps);
  EXPECT_LT(peak > warmHeap ? peak - warmHeap : 0, kSoakHeapGrowth)
      << "the heap kept growing after the warm-up";
}

}  // namespace
