#pragma once

#include <QDialog>
#include <functional>

class CLevelNumbers;
class CLevelPack;
class IPlatform;
class QListWidget;
class QPushButton;

// Called after each change the level order dialog makes to the pack, so the
// frame can refresh: invalidate the canvas when `canvasChanged` (a level was
// deleted, so another may now be current), then update the level bars.
using PackChangedFn = std::function<void(bool canvasChanged)>;

// "Level Order": the names of the pack's levels in pack order. The selected
// level moves one place up or down, or is deleted; each action changes the
// pack at once, and the current level index follows its level.
class CLevelOrderDlg : public QDialog {
  Q_OBJECT

 public:
  CLevelOrderDlg(CLevelPack& pack, PackChangedFn onPackChanged,
                 QWidget* parent = nullptr);

  void FillList();
  // Delete, Move Up and Move Down are enabled while the pack has more than
  // one level and an item is selected.
  void UpdateButtons();
  void OnDelete();
  void OnMoveUp();
  void OnMoveDown();

  QListWidget* List() const { return m_listLevels; }
  // What row `row` shows: the level's number in front of its name ("3.
  // Cave"). The number is drawn, not kept in the item, whose text stays the
  // name; it follows the row, so a move renumbers both levels.
  QString ShownText(int row) const;

 private:
  // The selected item's index, or -1.
  int SelectedIndex() const;
  void Select(int index);
  void NotifyChanged(bool canvasChanged);

  CLevelPack& m_pack;
  PackChangedFn m_onPackChanged;
  QListWidget* m_listLevels;
  CLevelNumbers* m_pNumbers;
  QPushButton* m_pMoveUp;
  QPushButton* m_pMoveDown;
  QPushButton* m_pDelete;
};

// Runs "Level Order" on the pack. However it is closed (OK, the close box,
// Escape), the pack counts as modified afterwards. Returns the dialog result.
int RunLevelOrderDialog(IPlatform& platform, QWidget* parent, CLevelPack& pack,
                        PackChangedFn onPackChanged);
