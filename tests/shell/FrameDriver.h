#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QString>
#include <bit>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "canvas/CanvasWidget.h"
#include "dialogs/LevelOrderDlg.h"
#include "dialogs/SecurityDialogs.h"
#include "model/LevelPack.h"
#include "packfile/PackFile.h"
#include "shell/CommandIds.h"
#include "shell/EditorFrame.h"
#include "shell/FileCommands.h"
#include "support/QtTestApp.h"
#include "support/ScriptedPlatform.h"
#include "support/TempFiles.h"

// Drives a shown editor frame as an author does (mouse on the canvas,
// commands, dialogs answered through the scripted platform) and reads back
// what the author and the disk would see.
class FrameDriver {
 public:
  FrameDriver(CEditorFrame& frame, ScriptedPlatform& platform)
      : m_frame(frame), m_platform(platform) {}

  CEditorFrame& Frame() { return m_frame; }
  CLevelPack& Pack() { return m_frame.Pack(); }
  QWidget* Canvas() { return &m_frame.Canvas(); }

  // A client point inside the cell of a level pixel (which may lie outside
  // the level): its middle, at every zoom.
  QPoint CellPoint(Point level) {
    const Rect cell = m_frame.Logic().View().CellClientRect(level);
    return {(cell.left + cell.right - 1) / 2, (cell.top + cell.bottom - 1) / 2};
  }
  void Press(Point at) { MousePress(Canvas(), CellPoint(at)); }
  void Move(Point to, bool held) { MouseMove(Canvas(), CellPoint(to), held); }
  void Release(Point at) { MouseRelease(Canvas(), CellPoint(at)); }
  // Press at `from`, drag through `to`, release there.
  void Drag(Point from, Point to) {
    Press(from);
    Move(to, true);
    Release(to);
  }
  // Chooses a placement tool, shows its preview, then clicks at `at`.
  void Place(int toolId, Point at) {
    m_frame.OnCommand(toolId);
    Move({at.x + 16, at.y + 3}, false);
    Press(at);
    Release(at);
  }

  // Types `text` into a bar edit, one key at a time, over its old text.
  static void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    for (QChar c : text) edit->insert(QString(c));
  }

  // Runs `command`, answering its next modal dialogs with `answer`.
  void WithDialogs(int command, std::function<int(QDialog&)> answer) {
    std::function<int(QDialog&)> before = m_platform.onDialog;
    m_platform.onDialog = std::move(answer);
    m_frame.OnCommand(command);
    m_platform.onDialog = std::move(before);
  }
  // File > Reorder Levels...: `actions` in the dialog, then OK or Cancel.
  void Reorder(const std::function<void(CLevelOrderDlg&)>& actions,
               bool ok = true) {
    WithDialogs(IDM_FILE_REORDER, [&](QDialog& dialog) {
      auto* order = qobject_cast<CLevelOrderDlg*>(&dialog);
      EXPECT_NE(order, nullptr);
      if (order != nullptr) actions(*order);
      return ok ? int{QDialog::Accepted} : int{QDialog::Rejected};
    });
  }

  // Answers the security dialog with a name and password and the password
  // prompt with `password`, typed and confirmed as an author would (a wrong
  // one is refused by the prompt, which then is cancelled).
  static int AnswerDialog(QDialog& dialog, const QString& password) {
    if (auto* security = qobject_cast<CSecurityInfoDlg*>(&dialog)) {
      security->m_strName = QStringLiteral("Ann");
      security->m_strPassword = password;
      security->m_strConfirm = password;
      return int{QDialog::Accepted};
    }
    if (auto* prompt = qobject_cast<CPasswordPromptDlg*>(&dialog)) {
      if (QLineEdit* edit = prompt->findChild<QLineEdit*>()) {
        edit->setText(password);
      }
      prompt->accept();
      return prompt->result() == QDialog::Accepted ? int{QDialog::Accepted}
                                                   : int{QDialog::Rejected};
    }
    return int{QDialog::Rejected};
  }

  // Entrance and exit on every level, placed with the mouse.
  void PlaceEntranceAndExitEverywhere() {
    const int current = Pack().m_nCurLevel;
    while (Pack().m_nCurLevel > 0) m_frame.OnNotify(IDC_LEVEL_NUMBER_SPIN, -1);
    for (int i = 0; i < Pack().Count(); ++i) {
      if (i > 0) m_frame.OnNotify(IDC_LEVEL_NUMBER_SPIN, +1);
      Place(IDT_PLACE_ENTRANCE, {0, 40});
      Place(IDT_PLACE_EXIT, {64, 40});
    }
    while (Pack().m_nCurLevel > current) {
      m_frame.OnNotify(IDC_LEVEL_NUMBER_SPIN, -1);
    }
  }

  // File > Save As... to `path`; the security information, when asked for,
  // is given with password "pw".
  void SaveAs(const std::string& path) {
    m_platform.fileNames.push_back(QString::fromStdString(path));
    WithDialogs(IDM_FILE_SAVE_AS, [](QDialog& dialog) {
      return AnswerDialog(dialog, QStringLiteral("pw"));
    });
    // A refused save asks for no name: the name goes unused.
    if (!m_platform.fileNames.empty()) m_platform.fileNames.pop_back();
  }

  // ---- What the author and the disk see ----
  bool TitleStarred() const {
    return m_frame.windowTitle().endsWith(QLatin1Char('*'));
  }
  // Whether File > Load... would ask "Save changes?" first: runs it, answers
  // Cancel to the question and cancels the file dialog.
  bool LoadWouldAsk() {
    return Asks([this] { m_frame.OnCommand(IDM_FILE_LOAD); });
  }
  // Whether closing the window would ask "Save changes?" first: asks the
  // question Exit asks, answered Cancel.
  bool ExitWouldAsk() {
    return Asks([this] { m_frame.FileCommands().CanClose(); });
  }

  // The bytes a save of the pack as it stands would write to its file.
  std::vector<std::uint8_t> EncodedFile() {
    const PackContents contents = Pack().Contents();
    std::vector<std::uint8_t> image;
    std::vector<std::uint8_t> file;
    std::string error;
    const std::string& path = Pack().m_szFilePath;
    if (!EncodePackImage(contents, image, error) ||
        !EncodeVariableFile(MakePackComment(contents.m_szAuthorName),
                            MakeVariableName(path), image,
                            TYPE_PROTECTED_PROGRAM, file, error,
                            CFileCommands::FlavourFor(path))) {
      ADD_FAILURE() << "cannot encode the pack: " << error;
    }
    return file;
  }

  // Set terrain pixels in rows from `firstRow` down, on every level, as
  // the pack reads without previews.
  int TerrainPixelsFrom(int firstRow) {
    const CLevelPack::PreviewFree clean = Pack().WithoutPreviews();
    int count = 0;
    for (int i = 0; i < clean->Count(); ++i) {
      const CLevel& level = clean->Level(i);
      for (int y = firstRow; y < level.m_nHeight; ++y) {
        for (int b = 0; b < level.m_nWidthBytes; ++b) {
          count += std::popcount(static_cast<unsigned>(
              level.m_bitmap[y * level.m_nWidthBytes + b]));
        }
      }
    }
    return count;
  }

 private:
  bool Asks(const std::function<void()>& probe) {
    const auto answers = m_platform.answers;
    const auto names = m_platform.fileNames;
    const auto onMessage = m_platform.onMessage;
    const int unexpected = m_platform.unexpected;
    const std::size_t before = m_platform.messages.size();
    m_platform.answers = {IPlatform::Answer::Cancel};
    m_platform.fileNames.clear();
    m_platform.onMessage = nullptr;
    probe();
    bool asked = false;
    for (std::size_t i = before; i < m_platform.messages.size(); ++i) {
      asked = asked || m_platform.messages[i].text == "Save changes?";
    }
    m_platform.answers = answers;
    m_platform.fileNames = names;
    m_platform.onMessage = onMessage;
    m_platform.unexpected = unexpected;
    return asked;
  }

  CEditorFrame& m_frame;
  ScriptedPlatform& m_platform;
};
