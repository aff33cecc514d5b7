#pragma once

#include <QDialog>

#include "dialogs/DialogChecks.h"

class CLevelPack;
class CUpDown;
class IPlatform;
class QLineEdit;

// "Current Level Population": population, spawn interval, number to save,
// time and the eight skill counts of one level. The values are the fields
// inherited from PopulationValues: set them before the dialog is run, read
// them after it closed with OK.
class CPopulationDlg : public QDialog, public PopulationValues {
  Q_OBJECT

 public:
  explicit CPopulationDlg(IPlatform& platform, QWidget* parent = nullptr);

  // Fills the edits from the fields, or reads and checks them; false (after
  // the message was shown and the focus put into the offending edit) when
  // a field is refused.
  bool DoDataExchange(bool bSaveAndValidate);
  void accept() override;  // OK

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Small grey texts with each field's range beside its edit.
  void AddRangeHints(QWidget& skillsGroup);

  IPlatform& m_platform;
  QLineEdit* m_apEdits[POPULATION_FIELDS] = {};
  CUpDown* m_pToSaveArrows = nullptr;
};

// Runs the population dialog on the pack's current level. On OK the values
// are copied into the level and the pack counts as modified; otherwise
// nothing changes. Returns QDialog::Accepted or QDialog::Rejected.
int RunPopulationDialog(IPlatform& platform, QWidget* parent, CLevelPack& pack);
