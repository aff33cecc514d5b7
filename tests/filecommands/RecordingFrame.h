#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "shell/LevelBarLogic.h"

// A frame that records what the logic asked of it, in order, as short
// words ("refresh", "bars", "clamp", "shift 16 0", "security", "password
// abc"), and answers the two dialogs as the test says.
class RecordingFrame : public IFrameEffects {
 public:
  void RefreshView() override { calls.push_back("refresh"); }
  void UpdateLevelBars() override { calls.push_back("bars"); }
  void ClampAndInvalidate() override { calls.push_back("clamp"); }
  void ShiftOrigin(int dx, int dy) override {
    calls.push_back("shift " + std::to_string(dx) + " " + std::to_string(dy));
  }
  bool RunSecurityDialog() override {
    calls.push_back("security");
    return onSecurity ? onSecurity() : false;
  }
  bool RunPasswordPrompt(const std::string& expected) override {
    calls.push_back("password " + expected);
    return onPassword ? onPassword(expected) : false;
  }
  void ShowStatus(const QString& text) override { status.push_back(text); }

  std::function<bool()> onSecurity;
  std::function<bool(const std::string&)> onPassword;
  std::vector<std::string> calls;
  std::vector<QString> status;
};
