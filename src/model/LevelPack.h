#pragma once

#include <string>
#include <vector>

#include "model/Level.h"
#include "model/PackOverlay.h"

// The whole of a pack as plain values: what the pack file stores, and what a
// snapshot of the editor's pack holds. The first level's passcode is not
// stored in a file; a decoded pack leaves it empty.
struct PackContents {
  std::string m_szPassword;
  std::string m_szAuthorName;
  std::vector<LevelRecord> levels;
};

// The editor's document: one to nine heap-allocated levels in pack order,
// the current level, the author name, the password, the file path and the
// modified flag. The level count is CLevel::s_nLiveCount, so one pack lives
// in a program at a time. The operations check no preconditions and show
// nothing; the frame wraps them with its messages and refreshes.
class CLevelPack {
 public:
  CLevelPack() = default;
  ~CLevelPack();
  CLevelPack(const CLevelPack&) = delete;
  CLevelPack& operator=(const CLevelPack&) = delete;

  int Count() const { return CLevel::s_nLiveCount; }
  CLevel& Level(int index) { return *m_apLevels[index]; }
  const CLevel& Level(int index) const { return *m_apLevels[index]; }
  CLevel& Current() { return *m_apLevels[m_nCurLevel]; }
  const CLevel& Current() const { return *m_apLevels[m_nCurLevel]; }

  // Appends a new default level; false when no memory could be had (nothing
  // changes then). Must not be called with MAX_LEVELS levels.
  bool AddLevel();
  // Destroys every level, the last one first.
  void DeleteAllLevels();
  // A fresh pack of one default level, current, with no author and no
  // password. The file path and the modified flag are left as they were.
  // False only when the first level could not be allocated.
  bool NewPack();
  // Puts the level at index back to its defaults (it keeps its serial).
  void ResetLevel(int index);
  // Deletes one level and closes the gap; the current index follows its
  // level, or moves to the level before a deleted current one.
  void DeleteLevel(int nIndex);
  // Exchanges levels nIndex and nIndex + 1; the current level stays current.
  void SwapLevels(int nIndex);

  // The author, password and every level as values, without any preview:
  // what a save writes.
  PackContents Contents() const;

  // While one of these lives, every level holds only what the author made:
  // each registered overlay (a preview drawn into the terrain) is lifted out
  // of it, silently, and goes back bit for bit when the last one goes.
  // Every reader of the levels in place (the undo history, copies, checks)
  // reads inside one; nothing may change the pack meanwhile.
  class PreviewFree {
   public:
    explicit PreviewFree(const CLevelPack& pack);
    ~PreviewFree();
    PreviewFree(const PreviewFree&) = delete;
    PreviewFree& operator=(const PreviewFree&) = delete;
    const CLevelPack& operator*() const { return m_pack; }
    const CLevelPack* operator->() const { return &m_pack; }

   private:
    const CLevelPack& m_pack;
  };
  [[nodiscard]] PreviewFree WithoutPreviews() const {
    return PreviewFree(*this);
  }
  // Something that draws into the levels registers for as long as it may
  // draw; it must have taken its drawing out before it goes.
  void AddOverlay(IPackOverlay* overlay);
  void RemoveOverlay(IPackOverlay* overlay);

  // Replaces every level with those of a loaded pack, as a load does: all
  // levels are deleted, the new ones are added (so they get serials 0 to
  // n - 1 and the first level a fresh passcode, since a file stores none),
  // and their fields are copied in. Sets author and password; the first
  // level becomes current. The path and the modified flag are left alone.
  // False only when a level could not be allocated.
  bool ReplaceWithLoaded(const PackContents& loaded);

  CLevel* m_apLevels[MAX_LEVELS] = {};
  int m_nCurLevel = 0;
  std::string m_szPassword;
  std::string m_szAuthorName;
  std::string m_szFilePath;
  bool m_bModified = false;

 private:
  std::vector<IPackOverlay*> m_overlays;
  // Open PreviewFree scopes; the overlays are lifted while it is above 0.
  mutable int m_nLifted = 0;
};
