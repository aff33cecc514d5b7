#pragma once

// The randomised session: a seeded run of author actions through the real
// frame, with the window's promises checked after every step (SessionTest).
// The actions are a table; a test file linked into the same program adds
// its own with
//
//   static const bool kAdded = AddSessionAction({"zoom in", 2, [](Session& s) {
//     s.Frame().OnCommand(IDM_VIEW_ZOOM_IN);
//   }});
//
// An action uses only the session's random numbers (so a seed replays it),
// answers the dialogs it opens itself (s.drive.WithDialogs) and may leave
// any state behind, a preview shown or a window closed (s.closed).
#include <QPointer>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "FrameDriver.h"
#include "shell/EditorFrame.h"
#include "support/ScriptedPlatform.h"
#include "support/TempFiles.h"

struct Session {
  Session(ScriptedPlatform& platform, testsupport::TempFolder& folder,
          unsigned seed)
      : platform(platform), folder(folder), rng(seed) {}

  CEditorFrame& Frame() { return *frame; }
  CLevelPack& Pack() { return frame->Pack(); }

  // A number from lo to hi, both included.
  int Uniform(int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
  }
  bool Chance(int percent) { return Uniform(1, 100) <= percent; }
  template <typename T>
  const T& Pick(const std::vector<T>& from) {
    return from[static_cast<std::size_t>(
        Uniform(0, static_cast<int>(from.size()) - 1))];
  }

  // Strokes draw only in rows above kPlacementTop; placements and their
  // previews stay at and below it (also pressed outside the level). So a
  // terrain pixel set below the line is a preview that stayed behind.
  static constexpr int kPlacementTop = 32;
  Point DrawPoint() {
    const CLevel& level = Pack().Current();
    return {Uniform(-4, level.WidthPixels() + 4),
            Uniform(3, kPlacementTop - 9)};
  }
  Point PlacePoint() {
    const CLevel& level = Pack().Current();
    return {Uniform(-12, level.WidthPixels() + 4),
            Uniform(kPlacementTop, level.m_nHeight + 6)};
  }

  ScriptedPlatform& platform;
  testsupport::TempFolder& folder;
  std::mt19937 rng;
  QPointer<CEditorFrame> frame;
  std::unique_ptr<FrameDriver> drive;
  // Pack files written in the session, and a file that is no pack.
  std::vector<std::string> files;
  std::string damaged;
  // How "Save changes?" and yes-or-no questions are answered next.
  IPlatform::Answer saveChanges = IPlatform::Answer::Cancel;
  // The action closed the window; the session opens a new one.
  bool closed = false;
};

struct SessionAction {
  const char* name;
  int weight;  // how often it is chosen, relative to the others
  std::function<void(Session&)> run;
};

// The table the session chooses from.
std::vector<SessionAction>& SessionActions();
// Adds an action to the table; returns true (for a static initialiser).
bool AddSessionAction(SessionAction action);
