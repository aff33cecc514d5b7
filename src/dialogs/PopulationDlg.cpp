#include "dialogs/PopulationDlg.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "dialogs/DialogSupport.h"
#include "model/LevelPack.h"
#include "uikit/Platform.h"
#include "uikit/UpDown.h"

// ---- CPopulationDlg ---------------------------------------------------------

namespace {

QLineEdit* AddNumberEdit(QDialog& dialog, const DialogUnits& du, QRect units,
                         const char* name) {
  auto* edit = new QLineEdit(&dialog);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setGeometry(
      du.Rect(units.x(), units.y(), units.width(), units.height()));
  return edit;
}

// One skill row of the "Plodder types" group, in the order shown.
struct SkillRow {
  Skill skill;
  const char* label;
  const char* name;
  int labelX;
  int editX;
  int y;
};

constexpr SkillRow kSkillRows[SKILL_COUNT] = {
    {SKILL_BLOCKERS, "&Blockers:", "edit1025", 13, 48, 66},
    {SKILL_BUILDERS, "B&uilders:", "edit1027", 13, 48, 86},
    {SKILL_BASHERS, "B&ashers:", "edit1030", 13, 48, 105},
    {SKILL_CLIMBERS, "&Climbers:", "edit1032", 13, 48, 124},
    {SKILL_DIGGERS, "&Diggers:", "edit1033", 98, 134, 66},
    {SKILL_EXPLODERS, "&Exploders:", "edit1034", 98, 134, 86},
    {SKILL_FLOATERS, "&Floaters:", "edit1035", 98, 134, 105},
    {SKILL_MINERS, "&Miners:", "edit1036", 98, 134, 124},
};

}  // namespace

CPopulationDlg::CPopulationDlg(IPlatform& platform, QWidget* parent)
    : QDialog(parent), m_platform(platform) {
  const DialogUnits du(font());
  SetUpFixedDialog(*this, du, QStringLiteral("Current Level Population"), 186,
                   173);

  // Controls in template order, which is the tab order; each label's
  // mnemonic leads to the control created right after it.
  QLabel* label = AddLabel(
      *this, du, QStringLiteral("&Plodders, spawned every"), {41, 10, 86, 9});
  m_apEdits[PF_POPULATION] =
      AddNumberEdit(*this, du, {13, 7, 26, 14}, "edit1037");
  label->setBuddy(m_apEdits[PF_POPULATION]);

  label = AddLabel(*this, du, QStringLiteral("f&rames"), {156, 10, 22, 8});
  m_apEdits[PF_SPAWN_INTERVAL] =
      AddNumberEdit(*this, du, {127, 7, 26, 14}, "edit1038");
  label->setBuddy(m_apEdits[PF_SPAWN_INTERVAL]);

  label = AddLabel(*this, du, QStringLiteral("to be &saved"), {48, 33, 38, 8});
  m_apEdits[PF_TO_SAVE] =
      AddNumberEdit(*this, du, {13, 30, 33, 14}, "edit1039");
  label->setBuddy(m_apEdits[PF_TO_SAVE]);
  // The up-down 1049 stands at the right edge of its buddy, edit 1039, which
  // gives it the room. Each arrow starts from the number in the edit, when
  // there is one, so that typing and stepping mix as expected.
  m_pToSaveArrows = new CUpDown(Qt::Vertical, this);
  m_pToSaveArrows->setObjectName(QStringLiteral("updown1049"));
  m_pToSaveArrows->SetRange(0, 50);
  m_pToSaveArrows->SetBuddy(m_apEdits[PF_TO_SAVE]);
  {
    const QRect edit = m_apEdits[PF_TO_SAVE]->geometry();
    const int width = m_pToSaveArrows->sizeHint().width();
    m_apEdits[PF_TO_SAVE]->setGeometry(edit.adjusted(0, 0, -width, 0));
    m_pToSaveArrows->setGeometry(edit.right() + 1 - width, edit.top(), width,
                                 edit.height());
  }
  connect(m_pToSaveArrows, &CUpDown::DeltaPos, this, [this](int) {
    const auto typed =
        ParseExchangeInt(m_apEdits[PF_TO_SAVE]->text().toStdString());
    if (typed) m_pToSaveArrows->SetPos(*typed);
  });

  label = AddLabel(*this, du, QStringLiteral("&Time:"), {107, 33, 18, 8});
  m_apEdits[PF_TIME] = AddNumberEdit(*this, du, {127, 30, 40, 14}, "edit1052");
  label->setBuddy(m_apEdits[PF_TIME]);

  auto* group = new QGroupBox(QStringLiteral("Plodder types"), this);
  group->setGeometry(du.Rect(7, 54, 172, 91));

  for (const SkillRow& row : kSkillRows) {
    label = AddLabel(*this, du, QString::fromLatin1(row.label),
                     {row.labelX, row.y + 4, row.editX - row.labelX - 2, 8});
    QLineEdit* edit =
        AddNumberEdit(*this, du, {row.editX, row.y, 26, 14}, row.name);
    label->setBuddy(edit);
    m_apEdits[PF_FIRST_SKILL + row.skill] = edit;
  }

  QPushButton* ok =
      AddButton(*this, du, QStringLiteral("OK"), {37, 152, 50, 14}, true);
  QPushButton* cancel =
      AddButton(*this, du, QStringLiteral("Cancel"), {98, 152, 50, 14}, false);
  connect(ok, &QPushButton::clicked, this, &CPopulationDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CPopulationDlg::reject);
  FitDialogToTexts(*this);
  // Each field's range, in the words of the message that refuses a number
  // outside it.
  for (int field = 0; field < POPULATION_FIELDS; ++field) {
    const FieldBounds bounds = PopulationBounds(field);
    m_apEdits[field]->setToolTip(
        QStringLiteral("%1 to %2").arg(bounds.min).arg(bounds.max));
  }
  AddRangeHints(*group);
}

void CPopulationDlg::AddRangeHints(QWidget& skillsGroup) {
  // Each field's range stands beside it in small grey text: under the four
  // numbers of the first two lines, right of each skill's edit. The hints
  // live on a layer of their own (and in the group box), apart from the
  // dialog's labels and their mnemonics; they take no clicks.
  auto* layer = new QWidget(this);
  layer->setObjectName(QStringLiteral("rangeHints"));
  layer->setGeometry(rect());
  layer->setAttribute(Qt::WA_TransparentForMouseEvents);
  QFont small = font();
  small.setPointSizeF(font().pointSizeF() * 0.85);
  const QFontMetrics metrics(small);
  for (int field = 0; field < POPULATION_FIELDS; ++field) {
    const FieldBounds bounds = PopulationBounds(field);
    const QString text =
        QStringLiteral("%1\u2013%2").arg(bounds.min).arg(bounds.max);
    const bool skill = field >= PF_FIRST_SKILL;
    QWidget* parent = skill ? &skillsGroup : layer;
    auto* hint = new QLabel(text, parent);
    hint->setObjectName(QStringLiteral("range%1").arg(field));
    hint->setFont(small);
    hint->setForegroundRole(QPalette::PlaceholderText);
    const QRect edit = m_apEdits[field]->geometry();
    const int width = metrics.horizontalAdvance(text) + 2;
    if (skill) {
      const QPoint at =
          skillsGroup.mapFrom(this, QPoint(edit.right() + 4, edit.top()));
      hint->setGeometry(at.x(), at.y(), width, edit.height());
    } else {
      hint->setGeometry(edit.left(), edit.bottom() + 1, width,
                        metrics.height());
    }
  }
  layer->raise();
}

bool CPopulationDlg::DoDataExchange(bool bSaveAndValidate) {
  if (!bSaveAndValidate) {
    const PopulationTexts texts = FormatPopulation(*this);
    for (int field = 0; field < POPULATION_FIELDS; ++field) {
      m_apEdits[field]->setText(QString::fromStdString(texts[field]));
    }
    return true;
  }
  PopulationTexts texts;
  for (int field = 0; field < POPULATION_FIELDS; ++field) {
    texts[field] = m_apEdits[field]->text().toStdString();
  }
  const PopulationVerdict verdict = ReadPopulation(texts);
  if (!verdict.accepted) {
    ShowDialogMessage(m_platform, this, verdict.message);
    if (verdict.field >= 0) {
      m_apEdits[verdict.field]->setFocus();
      m_apEdits[verdict.field]->selectAll();
    }
    return false;
  }
  static_cast<PopulationValues&>(*this) = verdict.values;
  return true;
}

void CPopulationDlg::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    // The arrows start at the number to save; the edits then show every
    // field as it is, also a number outside the arrows' range.
    m_pToSaveArrows->SetPos(m_nToSave);
    DoDataExchange(false);
    m_apEdits[PF_POPULATION]->setFocus();
    m_apEdits[PF_POPULATION]->selectAll();
  }
  QDialog::showEvent(event);
}

void CPopulationDlg::accept() {
  if (!DoDataExchange(true)) return;
  QDialog::accept();
}

int RunPopulationDialog(IPlatform& platform, QWidget* parent,
                        CLevelPack& pack) {
  CPopulationDlg dlg(platform, parent);
  static_cast<PopulationValues&>(dlg) =
      PopulationValues::FromLevel(pack.Current());
  const int result = platform.RunDialog(dlg);
  if (result == QDialog::Accepted) {
    dlg.ApplyTo(pack.Current());
    pack.m_bModified = true;
  }
  return result;
}
