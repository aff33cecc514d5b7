#pragma once

#include <functional>
#include <string>

class CLevelPack;
class IPlatform;
class QString;
class QWidget;

// What the level bar and the file commands ask of the main window. The frame
// implements it; tests give a recording one.
class IFrameEffects {
 public:
  virtual ~IFrameEffects() = default;

  // ClampView, UpdateScrollBars, invalidate the canvas, then UpdateLevelBars.
  virtual void RefreshView() = 0;
  // Shows the current level's number, name and passcode in the bars.
  virtual void UpdateLevelBars() = 0;
  // ClampView, UpdateScrollBars and invalidate the canvas; the bars are left
  // as they are.
  virtual void ClampAndInvalidate() = 0;
  // Moves the view origin by (dx, dy) logical pixels. A clamp follows.
  virtual void ShiftOrigin(int dx, int dy) = 0;
  // Runs the Name & Security Info dialog on the pack. True when it closed
  // with OK; the pack then holds the new author and password and is marked
  // modified.
  virtual bool RunSecurityDialog() = 0;
  // Runs the password prompt of a pack being opened, expecting `expected`
  // (plain text). True when the right password was typed and OK pressed.
  virtual bool RunPasswordPrompt(const std::string& expected) = 0;
  // A passing note in the status bar.
  virtual void ShowStatus(const QString& text) = 0;
  // The pack was just written to its file, whichever command wrote it (also
  // the save that "Save changes?" makes before New, Load or closing): the
  // state it holds now is the saved state.
  virtual void PackWritten() {}
  // Shows the pack's program name on the calculator ("prgmCASTLE"), after a
  // save or a load; empty for a pack with no file.
  virtual void ShowCalculatorName(const QString& /*name*/) {}
  // Brings the Problems panel into view (a save wrote a pack that is not
  // ready for the calculator).
  virtual void ShowProblems() {}
};

// The four level bars: the level number with its up-down, the level name,
// the passcode and the resize up-downs. Each handler changes the pack and
// asks the window for the refresh it needs.
class CLevelBarLogic {
 public:
  // What the bars show for the current level.
  struct BarTexts {
    int number = 1;  // one-based level number
    std::string name;
    std::string passcode;  // empty while the first level is current
    bool passcodeReadOnly = true;

    friend bool operator==(const BarTexts&, const BarTexts&) = default;
  };

  CLevelBarLogic(CLevelPack& pack, IPlatform& platform, IFrameEffects& frame,
                 QWidget* parent = nullptr);

  // The level number up-down proposes a change of `delta`. Steps to the
  // level before or after (a larger delta counts as one step in its
  // direction), asks whether to add a level when stepping past the last one
  // of fewer than nine, and never leaves the pack. Returns the position to
  // give the up-down before it applies `delta` itself, so that it then shows
  // the one-based number of the level now current.
  int OnLevelNumberDelta(int delta);
  // Level > Add Level: a new level after the last, which becomes current,
  // as the level number's question adds one, without asking. With nine
  // levels the status bar says so. True when a level was added.
  bool AddLevelAtEnd();
  // Level > Delete Level: asks, then deletes the current level; the level
  // before it becomes current. The last level of a pack is never deleted:
  // the status bar says so. True when a level was deleted.
  bool DeleteCurrentLevel();
  // The width up-down: +1 (left arrow) narrows the level by one byte column,
  // -1 (right arrow) widens it, within 12 bytes and 2304 bitmap bytes.
  void OnWidthDelta(int delta);
  // The height up-down: -1 (up arrow) takes a row off, +1 (down arrow) adds
  // one, within 64 rows and 2304 bitmap bytes.
  void OnHeightDelta(int delta);

  // The name edit's text changed: it becomes the current level's name (at
  // most 29 characters, an empty name too).
  void OnLevelNameChange(const std::string& text);
  // The passcode edit's text changed: a non-empty text (at most 4
  // characters) becomes the current level's passcode; an empty one leaves
  // the stored passcode as it was.
  void OnPasscodeChange(const std::string& text);

  BarTexts Texts() const;
  // Shows the current level in the bars: `show` writes Texts() into the
  // controls. The change notifications this causes reach the handlers above
  // while `show` runs; they are ignored, so showing a level never changes it
  // and never marks the pack modified.
  void UpdateLevelBars(const std::function<void(const BarTexts&)>& show);

 private:
  CLevelPack& m_pack;
  IPlatform& m_platform;
  IFrameEffects& m_frame;
  QWidget* m_pParent;
  bool m_bShowing = false;
};

// Adds a level at the end of the pack; when no memory can be had, says so
// ("Not enough memory!") and returns false with the pack unchanged.
bool AddLevelOrReport(CLevelPack& pack, IPlatform& platform, QWidget* parent);
