#pragma once

#include <QString>

class CEditorFrame;
struct LevelRecord;

// The Level menu's Duplicate Level, Copy Level and Paste Level. Duplicate
// and Paste insert a level right after the current one, which becomes
// current; with nine levels they say so and change nothing. The frame runs
// each through OnCommand, so each is one step of the undo history.
class CLevelCommands {
 public:
  static const QString kFullPackText;  // "A pack holds at most 9 levels."

  explicit CLevelCommands(CEditorFrame& frame) : m_frame(frame) {}

  // A copy of the current level (terrain, objects, settings, name) with a
  // fresh passcode no other level has.
  void Duplicate();
  // Puts the current level on the clipboard in the editor's own format and,
  // beside it, as a picture of its terrain.
  void Copy();
  // Inserts the level on the clipboard. It keeps its passcode unless the
  // passcode is incomplete or another level has it.
  void Paste();
  // Level > Level Size...: the size typed in the dialog, reached by the
  // same steps the resize arrows take (narrowing and lowering first, so no
  // step passes the bitmap budget), with their origin shifts and dropped
  // objects.
  void LevelSize();

 private:
  // False, after saying so, when the pack has no room for another level.
  bool RoomForOneMore(const QString& caption);
  void InsertAfterCurrent(const LevelRecord& level, const QString& caption);

  CEditorFrame& m_frame;
};
