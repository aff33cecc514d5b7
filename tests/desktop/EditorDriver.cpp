// Linked beside the editor's own main() into a test program only: drives the
// real editor process as a user would, from steps named in the environment,
// and answers its modal boxes and the password prompt.
//
//   PLODDERZ_DRIVER_STEPS     comma-separated steps, run in order once the
//                             editor's own event loop runs:
//                               edit    type a level name, draw a stroke, add
//                                       a level with a two-letter passcode
//                               settle  wait until the recovery copy of the
//                                       latest change is written
//                               layout  zoom in, show the screen frame, put
//                                       the pen bar on the left, resize
//                               laidout wait until the settings hold the
//                                       layout and the view as they are
//                               report  write the state to the report file
//                               ready   append "ready" to the report file
//                               wait    wait until the file named by
//                                       PLODDERZ_DRIVER_GO exists
//                               hold    do nothing more (the test kills it)
//                               close   close the window as the close box does
//   PLODDERZ_DRIVER_ANSWERS   answers (yes, no, cancel, ok) for the message
//                             boxes in order; unlisted boxes get the least
//                             committing button
//   PLODDERZ_DRIVER_PASSWORD  typed into the password prompt
//   PLODDERZ_DRIVER_REPORT    the report file: key=value lines
//   PLODDERZ_DRIVER_LOG       each message box shown, one line each
#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <cstdio>
#include <vector>

#include "canvas/CanvasWidget.h"
#include "dialogs/SecurityDialogs.h"
#include "packfile/PackFile.h"
#include "shell/CommandIds.h"
#include "shell/EditorFrame.h"
#include "shell/FrameSession.h"
#include "shell/Recovery.h"

namespace {

QStringList ListFromEnv(const char* name) {
  return qEnvironmentVariable(name).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

void Append(const char* envName, const QByteArray& line) {
  QFile file(qEnvironmentVariable(envName));
  if (file.fileName().isEmpty() || !file.open(QIODevice::Append)) return;
  file.write(line + '\n');
}

CEditorFrame* Frame() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* frame = qobject_cast<CEditorFrame*>(widget)) return frame;
  }
  return nullptr;
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at,
               Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)),
                    type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                    buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &event);
}

class Driver : public QObject {
 public:
  Driver()
      : QObject(QCoreApplication::instance()),
        m_steps(ListFromEnv("PLODDERZ_DRIVER_STEPS")),
        m_answers(ListFromEnv("PLODDERZ_DRIVER_ANSWERS")) {
    connect(&m_timer, &QTimer::timeout, this, [this] { Tick(); });
    m_timer.start(20);
  }

 private:
  void Tick() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      AnswerModal(modal);
      return;
    }
    // Steps run in the editor's own loop only, never inside a modal box's.
    if (m_bBusy || QThread::currentThread()->loopLevel() != 1 ||
        m_steps.isEmpty()) {
      return;
    }
    CEditorFrame* frame = Frame();
    if (frame == nullptr) return;
    const QString step = m_steps.front();
    if (step == QLatin1String("settle") && !Settled(*frame)) return;
    if (step == QLatin1String("hold")) return;
    if (step == QLatin1String("laidout") &&
        frame->Session().LayoutWritePending()) {
      return;
    }
    if (step == QLatin1String("wait") &&
        !QFile::exists(qEnvironmentVariable("PLODDERZ_DRIVER_GO"))) {
      return;
    }
    m_steps.pop_front();
    // A step may open a modal box; it runs outside this timer's call, which
    // must go on firing to answer it.
    m_bBusy = true;
    QMetaObject::invokeMethod(
        this, [this, step] { RunStep(step); }, Qt::QueuedConnection);
  }

  void RunStep(const QString& step) {
    CEditorFrame* frame = Frame();
    if (frame == nullptr) return;
    if (step == QLatin1String("edit")) {
      Edit(*frame);
    } else if (step == QLatin1String("layout")) {
      frame->OnCommand(IDM_VIEW_ZOOM_IN);
      frame->OnCommand(IDM_VIEW_CALCULATOR_SCREEN);
      frame->addToolBar(Qt::LeftToolBarArea, frame->PenBar());
      frame->resize(870, 610);
    } else if (step == QLatin1String("report")) {
      Report(*frame);
    } else if (step == QLatin1String("ready")) {
      Append("PLODDERZ_DRIVER_REPORT", "ready");
    } else if (step == QLatin1String("close")) {
      frame->close();
    }
    m_bBusy = false;
  }

  void AnswerModal(QWidget* modal) {
    if (auto* prompt = qobject_cast<CPasswordPromptDlg*>(modal)) {
      if (auto* edit = prompt->findChild<QLineEdit*>()) {
        edit->setText(qEnvironmentVariable("PLODDERZ_DRIVER_PASSWORD"));
      }
      prompt->accept();
      return;
    }
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box == nullptr) return;
    QString line = box->windowTitle() + QStringLiteral(": ") + box->text();
    Append("PLODDERZ_DRIVER_LOG",
           line.replace(QLatin1Char('\n'), QLatin1Char(' ')).toUtf8());
    QMessageBox::StandardButton wanted = QMessageBox::NoButton;
    if (!m_answers.isEmpty()) {
      const QString answer = m_answers.takeFirst();
      wanted = answer == QLatin1String("yes")  ? QMessageBox::Yes
               : answer == QLatin1String("no") ? QMessageBox::No
               : answer == QLatin1String("ok") ? QMessageBox::Ok
                                               : QMessageBox::Cancel;
    }
    for (QMessageBox::StandardButton fallback :
         {wanted, QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok}) {
      if (QAbstractButton* button = box->button(fallback)) {
        button->click();
        return;
      }
    }
  }

  static bool Settled(CEditorFrame& frame) {
    CRecoveryKeeper* keeper = frame.Session().Recovery();
    return keeper != nullptr && !keeper->WritePending() &&
           keeper->Store().Idle() && QFile::exists(keeper->Store().CopyPath());
  }

  static void Edit(CEditorFrame& frame) {
    frame.LevelNameEdit()->setText(QStringLiteral("Kept Safe"));
    QWidget* canvas = &frame.Canvas();
    SendMouse(canvas, QEvent::MouseButtonPress, {40, 40}, Qt::LeftButton);
    for (int x = 44; x <= 200; x += 4) {
      SendMouse(canvas, QEvent::MouseMove, {x, 40 + x / 4}, Qt::LeftButton);
    }
    SendMouse(canvas, QEvent::MouseButtonRelease, {200, 90}, Qt::NoButton);
    // A second level with a passcode Save As would refuse.
    CLevelPack& pack = frame.Pack();
    if (pack.Count() < MAX_LEVELS && pack.AddLevel()) {
      pack.m_nCurLevel = pack.Count() - 1;
      frame.RefreshView();
      frame.PasscodeEdit()->setText(QStringLiteral("AB"));
    }
    frame.UpdatePackInfo();
  }

  static void Report(CEditorFrame& frame) {
    const CLevelPack& pack = frame.Pack();
    std::vector<std::uint8_t> image;
    std::string error;
    const bool encoded = EncodePackImage(pack.Contents(), image, error);
    QByteArray lines;
    lines += "title=" + frame.windowTitle().toUtf8() + '\n';
    lines += "visible=" + QByteArray::number(frame.isVisible()) + '\n';
    lines += "path=" + QByteArray::fromStdString(pack.m_szFilePath) + '\n';
    lines += "modified=" + QByteArray::number(pack.m_bModified) + '\n';
    lines += "levels=" + QByteArray::number(pack.Count()) + '\n';
    lines += "current=" + QByteArray::number(pack.m_nCurLevel) + '\n';
    lines += "note=" + frame.statusBar()->currentMessage().toUtf8() + '\n';
    lines += "passcode0=" + QByteArray(pack.Level(0).m_szPasscode) + '\n';
    lines += "zoom=" + QByteArray::number(frame.Canvas().UserZoom()) + '\n';
    lines +=
        "screenFrame=" + QByteArray::number(frame.CalculatorScreen()) + '\n';
    lines += "penBarLeft=" +
             QByteArray::number(frame.toolBarArea(frame.PenBar()) ==
                                Qt::LeftToolBarArea) +
             '\n';
    lines += "size=" + QByteArray::number(frame.width()) + 'x' +
             QByteArray::number(frame.height()) + '\n';
    lines += "image=" +
             (encoded ? QByteArray(reinterpret_cast<const char*>(image.data()),
                                   static_cast<qsizetype>(image.size()))
                            .toHex()
                      : QByteArray("refused")) +
             '\n';
    Append("PLODDERZ_DRIVER_REPORT", lines.chopped(1));
  }

  QStringList m_steps;
  QStringList m_answers;
  QTimer m_timer;
  bool m_bBusy = false;  // a step is running
};

void StartDriver() {
  new Driver();  // a child of the application object
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(StartDriver)
