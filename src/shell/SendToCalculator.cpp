#include "shell/SendToCalculator.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include "model/LevelPack.h"
#include "packfile/VariableFile.h"
#include "shell/FileCommands.h"
#include "uikit/Platform.h"

const QString CCalculatorLink::kCaption = QStringLiteral("Send to Calculator");
const QString CCalculatorLink::kProgram = QStringLiteral("tilp");

CCalculatorLink::CCalculatorLink(CLevelPack& pack, CFileCommands& files,
                                 IPlatform& platform, QWidget* parent)
    : m_launch([](const QString& program, const QStringList& arguments) {
        return QProcess::startDetached(program, arguments);
      }),
      m_pack(pack),
      m_files(files),
      m_platform(platform),
      m_pParent(parent) {}

QStringList CCalculatorLink::Arguments(const QString& path) {
  const bool plus = CFileCommands::FlavourFor(path.toStdString()) ==
                    VariableFlavour::TI83Plus;
  return {plus ? QStringLiteral("--calc=ti83+") : QStringLiteral("--calc=ti83"),
          path};
}

bool CCalculatorLink::Send() {
  // Without the link program nothing can be sent: say so before anything is
  // checked or written, and leave the file on disk as it is.
  const QString program = QStandardPaths::findExecutable(kProgram);
  const bool saved = !m_pack.m_bModified && !m_pack.m_szFilePath.empty();
  if (program.isEmpty()) {
    const QString where =
        saved ? QStringLiteral("The pack is saved in %1.")
                    .arg(QDir::toNativeSeparators(
                        QString::fromStdString(m_pack.m_szFilePath)))
              : QStringLiteral("Nothing has been saved.");
    m_platform.MessageBox(
        m_pParent,
        QStringLiteral(
            "TiLP, the program that sends files to the calculator, is not "
            "installed.\nInstall it with:\n\n    sudo apt install tilp2\n\n"
            "then connect the calculator and choose Send to Calculator "
            "again. %1")
            .arg(where),
        kCaption, IPlatform::Buttons::Ok, IPlatform::Icon::Information);
    return false;
  }
  // A pack the game cannot play never goes to the calculator.
  if (!m_files.CheckBeforeSave()) return false;
  if (!saved) {
    // TiLP sends the pack's file: a pack with unsaved changes is saved to
    // it first, after asking, since that writes over the file. A pack with
    // no file yet gets one from the save dialog.
    if (!m_pack.m_szFilePath.empty()) {
      const IPlatform::Answer answer = m_platform.MessageBox(
          m_pParent,
          QStringLiteral("The pack has unsaved changes. To send them, they "
                         "are saved to %1 first, over the file there.\n\n"
                         "Save and send?")
              .arg(QDir::toNativeSeparators(
                  QString::fromStdString(m_pack.m_szFilePath))),
          kCaption, IPlatform::Buttons::YesNo, IPlatform::Icon::Question);
      if (answer != IPlatform::Answer::Yes) return false;
    }
    if (!m_files.Save() || m_pack.m_bModified) return false;
  }
  const QString path = QString::fromStdString(m_pack.m_szFilePath);
  if (!m_launch(program, Arguments(path))) {
    m_platform.MessageBox(
        m_pParent, QStringLiteral("Could not start %1.").arg(program), kCaption,
        IPlatform::Buttons::Ok, IPlatform::Icon::Exclamation);
    return false;
  }
  return true;
}
