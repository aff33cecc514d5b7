#pragma once

#include "model/LevelPack.h"

// Tells the edits of the pack from everything else the window does: a count
// that goes up whenever the pack's contents (its levels in order, author and
// password) differ from what the watch saw last. Looking at another level,
// a save, a placement preview or the modified flag are no edits. What
// stands until the next edit (a passing note, a problem's mark) remembers
// the count it was shown at.
class CEditWatch {
 public:
  explicit CEditWatch(const CLevelPack& pack);

  // The count of edits seen, after looking at the pack as it stands now.
  unsigned Edits();

 private:
  const CLevelPack& m_pack;
  PackContents m_seen;
  unsigned m_nEdits = 0;
};
