#include "dialogs/InfoDialogs.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "dialogs/DialogSupport.h"
#include "uikit/Platform.h"

namespace {

// The public calculator-program archive that offers the game.
constexpr char kArchive[] = "ticalc.org";

constexpr int kInfoWidth = 186;

struct InfoLine {
  const char* text;
  int x;  // about box: the template's place; tips: the indent
  int y;
  int width;
};

void AddOkButton(QDialog& dialog, const DialogUnits& du, int y) {
  QPushButton* ok =
      AddButton(dialog, du, QStringLiteral("OK"), {68, y, 50, 14}, true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
}

}  // namespace

void BuildAboutDialog(QDialog& dialog) {
  const DialogUnits du(dialog.font());
  SetUpFixedDialog(dialog, du, QStringLiteral("About Plodderz Level Editor"),
                   kInfoWidth, 157);
  const QString archiveLine = QStringLiteral("at %1.").arg(kArchive);
  const InfoLine lines[] = {
      {"Plodderz Level Editor v1.0", 49, 7, 88},
      {"by the Plodderz team", 61, 17, 64},
      {"Level editor for Linux", 52, 38, 83},
      {"For use with Plodderz v1.0,", 48, 61, 90},
      {"for the 83 and 83+, available", 48, 72, 91},
      {nullptr, 64, 83, 58},
      {"Plodpaks created with this product", 37, 107, 113},
      {"are freely distributable.", 58, 117, 71},
  };
  // Every line is centred under the one before: each label spans the
  // dialog's width, so a wider font widens no line beyond its label.
  for (const InfoLine& line : lines) {
    const QString text =
        line.text ? QString::fromLatin1(line.text) : archiveLine;
    QLabel* label = AddLabel(dialog, du, text, {0, line.y, kInfoWidth, 8});
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  }
  AddOkButton(dialog, du, 136);
  FitDialogToTexts(dialog);
}

void BuildTipsDialog(QDialog& dialog) {
  const DialogUnits du(dialog.font());
  SetUpFixedDialog(dialog, du, QStringLiteral("Tips for a good Plodpak"),
                   kInfoWidth, 229);
  const QString tip3 =
      QStringLiteral("3. Upload your Plodpak to %1!").arg(kArchive);
  // A line that begins a tip stands at x = 7, one that continues it at 15.
  constexpr int kBegin = 7;
  constexpr int kMore = 15;
  const InfoLine lines[] = {
      {"1. Make sure each level is beatable!", kBegin, 0, 0},
      {"2. Make sure each level is free from mistakes!", kBegin, 0, 0},
      {nullptr, kBegin, 0, 0},
      {"4. Restrict the supply of certain types of plodderz in", kBegin, 0, 0},
      {"order to force the player to improvise.", kMore, 0, 0},
      {"5. Do not put ANYTHING near the left and right edges", kBegin, 0, 0},
      {"of the level. If a plodder walks off the level in the", kMore, 0, 0},
      {"game, it will die instantly.", kMore, 0, 0},
      {"6. Try inserting more plodderz than you need to beat", kBegin, 0, 0},
      {"the level, to make things interesting.", kMore, 0, 0},
      {"7. Make the last levels hard. I can't beat the original", kBegin, 0, 0},
      {"Plodders, can you?", kMore, 0, 0},
      {"8. Use exploders as a substitute for diggers, bashers,", kBegin, 0, 0},
      {"and miners.", kMore, 0, 0},
      {"9. Make the ground flush with the bottom of the exit.", kBegin, 0, 0},
      {"10. Use metal blocks to stop plodderz cold.", kBegin, 0, 0},
      {"11. To really challenge the player, reduce the level", kBegin, 0, 0},
      {"time to the bare minimum!", kMore, 0, 0},
  };
  int y = 7;
  for (const InfoLine& line : lines) {
    const QString text = line.text ? QString::fromLatin1(line.text) : tip3;
    AddLabel(dialog, du, text, {line.x, y, kInfoWidth - line.x - 4, 8});
    y += 11;
  }
  AddOkButton(dialog, du, 208);
  FitDialogToTexts(dialog);
}

int RunAboutDialog(IPlatform& platform, QWidget* parent) {
  QDialog dialog(parent);
  BuildAboutDialog(dialog);
  return platform.RunDialog(dialog);
}

int RunTipsDialog(IPlatform& platform, QWidget* parent) {
  QDialog dialog(parent);
  BuildTipsDialog(dialog);
  return platform.RunDialog(dialog);
}
