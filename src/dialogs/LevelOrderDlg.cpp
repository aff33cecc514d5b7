#include "dialogs/LevelOrderDlg.h"

#include <QIcon>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>
#include <cstring>
#include <utility>

#include "dialogs/DialogSupport.h"
#include "imageio/TerrainImage.h"
#include "model/LevelPack.h"
#include "model/PackReading.h"
#include "uikit/Platform.h"

namespace {

// The box a level's thumbnail fits in, beside its name.
constexpr int kThumbWidth = 48;
constexpr int kThumbHeight = 32;

// The level's thumbnail in a one-pixel grey frame, which shows where an
// empty level ends.
QPixmap Thumbnail(const LevelRecord& level) {
  const QImage thumb = LevelThumbnail(level, kThumbWidth, kThumbHeight);
  QImage framed(thumb.width() + 2, thumb.height() + 2,
                QImage::Format_Grayscale8);
  framed.fill(160);
  for (int y = 0; y < thumb.height(); ++y) {
    std::memcpy(framed.scanLine(y + 1) + 1, thumb.constScanLine(y),
                static_cast<std::size_t>(thumb.width()));
  }
  return QPixmap::fromImage(framed);
}

QString LevelName(const LevelRecord& level) {
  // The name buffer is NUL-terminated; never read past it all the same.
  const std::size_t length = strnlen(level.m_szName, sizeof level.m_szName);
  return QString::fromLatin1(level.m_szName, static_cast<qsizetype>(length));
}

}  // namespace

// Draws each item with its level's number (its row + 1) in front of the
// name, so levels of one name can be told apart.
class CLevelNumbers : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QString TextOf(const QModelIndex& index) const {
    QStyleOptionViewItem option;
    initStyleOption(&option, index);
    return option.text;
  }

 protected:
  void initStyleOption(QStyleOptionViewItem* option,
                       const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->text =
        QStringLiteral("%1. %2").arg(index.row() + 1).arg(option->text);
  }
};

CLevelOrderDlg::CLevelOrderDlg(CLevelPack& pack, PackChangedFn onPackChanged,
                               QWidget* parent)
    : QDialog(parent), m_pack(pack), m_onPackChanged(std::move(onPackChanged)) {
  const DialogUnits du(font());
  SetUpFixedDialog(*this, du, QStringLiteral("Level Order"), 214, 151);

  // Template order, which is the tab order: the buttons, then the list.
  QPushButton* ok =
      AddButton(*this, du, QStringLiteral("OK"), {157, 7, 50, 14}, true);
  m_pMoveUp = AddButton(*this, du, QStringLiteral("Move &Up"),
                        {157, 24, 50, 14}, false);
  m_pMoveDown = AddButton(*this, du, QStringLiteral("Move &Down"),
                          {157, 41, 50, 14}, false);
  m_pDelete =
      AddButton(*this, du, QStringLiteral("D&elete"), {157, 58, 50, 14}, false);
  m_listLevels = new QListWidget(this);
  m_listLevels->setObjectName(QStringLiteral("list1060"));
  m_listLevels->setGeometry(du.Rect(7, 7, 141, 137));
  m_listLevels->setViewMode(QListView::ListMode);
  m_listLevels->setSelectionMode(QAbstractItemView::SingleSelection);
  m_listLevels->setIconSize(QSize(kThumbWidth + 2, kThumbHeight + 2));
  m_pNumbers = new CLevelNumbers(m_listLevels);
  m_listLevels->setItemDelegate(m_pNumbers);

  connect(ok, &QPushButton::clicked, this, &CLevelOrderDlg::accept);
  connect(m_pMoveUp, &QPushButton::clicked, this, &CLevelOrderDlg::OnMoveUp);
  connect(m_pMoveDown, &QPushButton::clicked, this,
          &CLevelOrderDlg::OnMoveDown);
  connect(m_pDelete, &QPushButton::clicked, this, &CLevelOrderDlg::OnDelete);
  // The buttons follow the selection however it changes (mouse or
  // keyboard), so they are never enabled without a selection.
  connect(m_listLevels, &QListWidget::itemSelectionChanged, this,
          &CLevelOrderDlg::UpdateButtons);

  FillList();
  UpdateButtons();
}

void CLevelOrderDlg::FillList() {
  m_listLevels->clear();
  // Each name with a small picture of its level; the pictures move with
  // their items.
  for (const LevelRecord& level : PackForReading(m_pack).levels) {
    m_listLevels->addItem(
        new QListWidgetItem(QIcon(Thumbnail(level)), LevelName(level)));
  }
  m_listLevels->clearSelection();
  m_listLevels->setCurrentItem(nullptr);
}

QString CLevelOrderDlg::ShownText(int row) const {
  return m_pNumbers->TextOf(m_listLevels->model()->index(row, 0));
}

int CLevelOrderDlg::SelectedIndex() const {
  const QList<QListWidgetItem*> selected = m_listLevels->selectedItems();
  if (selected.isEmpty()) return -1;
  return m_listLevels->row(selected.front());
}

void CLevelOrderDlg::Select(int index) {
  m_listLevels->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

void CLevelOrderDlg::UpdateButtons() {
  const bool enable = m_listLevels->count() > 1 && SelectedIndex() >= 0;
  m_pDelete->setEnabled(enable);
  m_pMoveUp->setEnabled(enable);
  m_pMoveDown->setEnabled(enable);
}

void CLevelOrderDlg::NotifyChanged(bool canvasChanged) {
  if (m_onPackChanged) m_onPackChanged(canvasChanged);
}

void CLevelOrderDlg::OnDelete() {
  const int i = SelectedIndex();
  // The last level of a pack is never deleted.
  if (i < 0 || m_pack.Count() < 2) return;
  {
    // Taking the item out must not select a neighbour in its place.
    const QSignalBlocker block(m_listLevels);
    delete m_listLevels->takeItem(i);
    m_listLevels->clearSelection();
    m_listLevels->setCurrentItem(nullptr);
  }
  m_pack.DeleteLevel(i);
  UpdateButtons();
  NotifyChanged(true);
}

void CLevelOrderDlg::OnMoveUp() {
  const int i = SelectedIndex();
  if (i <= 0) return;
  m_pack.SwapLevels(i - 1);
  {
    const QSignalBlocker block(m_listLevels);
    QListWidgetItem* item = m_listLevels->takeItem(i);
    m_listLevels->insertItem(i - 1, item);
  }
  Select(i - 1);
  NotifyChanged(false);
}

void CLevelOrderDlg::OnMoveDown() {
  const int i = SelectedIndex();
  if (i < 0 || i >= m_pack.Count() - 1) return;
  m_pack.SwapLevels(i);
  {
    const QSignalBlocker block(m_listLevels);
    QListWidgetItem* item = m_listLevels->takeItem(i);
    m_listLevels->insertItem(i + 1, item);
  }
  Select(i + 1);
  NotifyChanged(false);
}

int RunLevelOrderDialog(IPlatform& platform, QWidget* parent, CLevelPack& pack,
                        PackChangedFn onPackChanged) {
  CLevelOrderDlg dlg(pack, std::move(onPackChanged), parent);
  const int result = platform.RunDialog(dlg);
  // Every action already changed the pack; closing never undoes them.
  pack.m_bModified = true;
  return result;
}
