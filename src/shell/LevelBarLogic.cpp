#include "shell/LevelBarLogic.h"

#include <QString>
#include <algorithm>
#include <cstring>

#include "model/LevelPack.h"
#include "model/LevelSizeLimits.h"
#include "shell/BarNotes.h"
#include "uikit/Platform.h"

namespace {

// Half a byte column in logical canvas pixels: a width change moves the view
// by it so that the level's middle stays where it was on the screen.
constexpr int kWidthShift = 16;
constexpr int kHeightShift = 1;

// Copies at most `limit` characters of `text` into a buffer of limit + 1
// bytes, with its terminating zero.
void CopyText(const std::string& text, char* buffer, std::size_t limit) {
  const std::size_t n = std::min(text.size(), limit);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

}  // namespace

bool AddLevelOrReport(CLevelPack& pack, IPlatform& platform, QWidget* parent) {
  if (pack.AddLevel()) return true;
  platform.MessageBox(parent, QStringLiteral("Not enough memory!"),
                      QStringLiteral("Level Addition Error"),
                      IPlatform::Buttons::Ok, IPlatform::Icon::Exclamation);
  return false;
}

CLevelBarLogic::CLevelBarLogic(CLevelPack& pack, IPlatform& platform,
                               IFrameEffects& frame, QWidget* parent)
    : m_pack(pack), m_platform(platform), m_frame(frame), m_pParent(parent) {}

int CLevelBarLogic::OnLevelNumberDelta(int delta) {
  // One step at a time, whatever the control proposes: the question must
  // come only when the user steps just past the last level.
  const int step = (delta > 0) - (delta < 0);
  int& current = m_pack.m_nCurLevel;
  current += step;
  if (current < 0) {
    current = 0;
    m_frame.ShowStatus(barnotes::kFirstLevel);
  }
  if (current == m_pack.Count()) {
    if (m_pack.Count() == MAX_LEVELS) {
      --current;
      m_frame.ShowStatus(barnotes::kPackFull);
    } else {
      const IPlatform::Answer answer = m_platform.MessageBox(
          m_pParent, QStringLiteral("Would you like to add a level?"),
          QStringLiteral("Add New Level"), IPlatform::Buttons::YesNo,
          IPlatform::Icon::Question);
      if (answer == IPlatform::Answer::Yes) {
        if (!AddLevelOrReport(m_pack, m_platform, m_pParent)) --current;
        // The user asked for a change, whether or not it could be made.
        m_pack.m_bModified = true;
      } else {
        --current;
      }
    }
  }
  m_frame.UpdateLevelBars();
  m_frame.ClampAndInvalidate();
  return current - delta + 1;
}

bool CLevelBarLogic::AddLevelAtEnd() {
  if (m_pack.Count() == MAX_LEVELS) {
    m_frame.ShowStatus(barnotes::kPackFull);
    return false;
  }
  if (!AddLevelOrReport(m_pack, m_platform, m_pParent)) return false;
  m_pack.m_nCurLevel = m_pack.Count() - 1;
  m_pack.m_bModified = true;
  m_frame.RefreshView();
  return true;
}

bool CLevelBarLogic::DeleteCurrentLevel() {
  if (m_pack.Count() < 2) {
    m_frame.ShowStatus(barnotes::kLastLevel);
    return false;
  }
  const IPlatform::Answer answer = m_platform.MessageBox(
      m_pParent,
      QStringLiteral("Are you sure you want to delete level %1?")
          .arg(m_pack.m_nCurLevel + 1),
      QStringLiteral("Delete Level"), IPlatform::Buttons::YesNo,
      IPlatform::Icon::Question);
  if (answer != IPlatform::Answer::Yes) return false;
  m_pack.DeleteLevel(m_pack.m_nCurLevel);
  m_pack.m_bModified = true;
  m_frame.RefreshView();
  return true;
}

void CLevelBarLogic::OnWidthDelta(int delta) {
  CLevel& level = m_pack.Current();
  if (delta == 1 && level.m_nWidthBytes > MIN_WIDTH_BYTES) {
    level.RemoveColumn();
    m_pack.m_bModified = true;
    m_frame.ShiftOrigin(-kWidthShift, 0);
  } else if (delta == -1 &&
             (level.m_nWidthBytes + 1) * level.m_nHeight <= MAX_BITMAP_BYTES) {
    level.AddColumn();
    m_pack.m_bModified = true;
    m_frame.ShiftOrigin(kWidthShift, 0);
  } else if (delta == 1 || delta == -1) {
    m_frame.ShowStatus(
        QString::fromStdString(ResizeLimitText(level, delta == 1 ? -1 : 1, 0)));
  }
  m_frame.RefreshView();
}

void CLevelBarLogic::OnHeightDelta(int delta) {
  CLevel& level = m_pack.Current();
  if (delta == -1 && level.m_nHeight > MIN_HEIGHT) {
    level.RemoveRow();
    m_pack.m_bModified = true;
    m_frame.ShiftOrigin(0, kHeightShift);
  } else if (delta == 1 &&
             level.m_nWidthBytes * (level.m_nHeight + 1) <= MAX_BITMAP_BYTES) {
    level.AddRow();
    m_pack.m_bModified = true;
    m_frame.ShiftOrigin(0, -kHeightShift);
  } else if (delta == 1 || delta == -1) {
    m_frame.ShowStatus(
        QString::fromStdString(ResizeLimitText(level, 0, delta)));
  }
  m_frame.ClampAndInvalidate();
}

void CLevelBarLogic::OnLevelNameChange(const std::string& text) {
  if (m_bShowing || m_pack.Count() == 0) return;
  CopyText(text, m_pack.Current().m_szName, NAME_CHARS);
  m_pack.m_bModified = true;
}

void CLevelBarLogic::OnPasscodeChange(const std::string& text) {
  if (m_bShowing || m_pack.Count() == 0) return;
  if (!text.empty()) {
    CopyText(text, m_pack.Current().m_szPasscode, PASSCODE_CHARS);
  }
  m_pack.m_bModified = true;
}

CLevelBarLogic::BarTexts CLevelBarLogic::Texts() const {
  BarTexts texts;
  const CLevel& level = m_pack.Current();
  texts.number = m_pack.m_nCurLevel + 1;
  texts.name = level.m_szName;
  texts.passcodeReadOnly = m_pack.m_nCurLevel == 0;
  if (!texts.passcodeReadOnly) texts.passcode = level.m_szPasscode;
  return texts;
}

void CLevelBarLogic::UpdateLevelBars(
    const std::function<void(const BarTexts&)>& show) {
  // Writing the texts makes the edits report changes. They are the level's
  // own texts, so the handlers must neither copy them back (the first
  // level's empty passcode text would be one) nor mark the pack modified.
  struct Restore {
    bool& showing;
    bool& modified;
    bool wasShowing;
    bool wasModified;
    ~Restore() {
      showing = wasShowing;
      modified = wasModified;
    }
  } restore{m_bShowing, m_pack.m_bModified, m_bShowing, m_pack.m_bModified};
  m_bShowing = true;
  show(Texts());
}
