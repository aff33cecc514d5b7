#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/Level.h"

// The checks the dialogs run when OK is pressed, as plain functions from the
// texts in the edits to a verdict. The dialogs only move texts in and out and
// show the verdict's message; everything that decides is here, without
// widgets.

enum class MessageIcon { None, Exclamation };

// What a refused OK shows: a message box with an OK button.
struct DialogMessage {
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::None;

  friend bool operator==(const DialogMessage&, const DialogMessage&) = default;
};

// Caption of the data exchange's standard messages: the application's name.
inline constexpr char kApplicationName[] = "Plodderz Level File Maker";

// ---- Name & Security Info -------------------------------------------------

enum class SecurityVerdict { Accept, MissingField, PasswordsDiffer };

// All three fields must hold text, and the password must equal its
// confirmation exactly (case counts).
SecurityVerdict CheckSecurityInfo(std::string_view name,
                                  std::string_view password,
                                  std::string_view confirm);
// The message a refusal shows; nothing for Accept.
std::optional<DialogMessage> SecurityMessage(SecurityVerdict verdict);

// ---- Protected File ---------------------------------------------------------

// True when the typed text equals the expected password byte by byte. A
// missing expected text matches nothing.
bool PasswordMatches(std::string_view typed, const char* expected);
DialogMessage WrongPasswordMessage();

// ---- Current Level Population ----------------------------------------------

// The fields of the population dialog, in exchange order: population, spawn
// interval, number to save, time, then the eight skills in the order of the
// level's skill bytes (bashers, blockers, ... miners).
inline constexpr int PF_POPULATION = 0;
inline constexpr int PF_SPAWN_INTERVAL = 1;
inline constexpr int PF_TO_SAVE = 2;
inline constexpr int PF_TIME = 3;
inline constexpr int PF_FIRST_SKILL = 4;  // PF_FIRST_SKILL + skill index
inline constexpr int POPULATION_FIELDS = PF_FIRST_SKILL + SKILL_COUNT;

struct FieldBounds {
  int min;
  int max;
};

// The range the population dialog takes for a field (PF_...).
FieldBounds PopulationBounds(int field);

struct PopulationValues {
  std::int32_t m_nPopulation = 0;
  std::int32_t m_nSpawnInterval = 0;
  std::int32_t m_nToSave = 0;
  std::int32_t m_nTime = 0;
  std::int32_t m_nSkills[SKILL_COUNT] = {};

  static PopulationValues FromLevel(const LevelRecord& level);
  // Copies the values into the level; each skill is stored as its low byte
  // (the bounds keep it within 0 to 50).
  void ApplyTo(LevelRecord& level) const;
  std::int32_t& Field(int field);
  std::int32_t Field(int field) const;

  friend bool operator==(const PopulationValues&,
                         const PopulationValues&) = default;
};

using PopulationTexts = std::array<std::string, POPULATION_FIELDS>;

// The texts the edits show for the values: decimal numbers.
PopulationTexts FormatPopulation(const PopulationValues& values);

// Parses a text as the data exchange does: optional white space, an
// optional sign, decimal digits, optional white space, nothing else. Numbers
// beyond the 32-bit range come back as the nearest 32-bit value, so that
// they fail the bounds rather than wrap into them.
std::optional<std::int32_t> ParseExchangeInt(std::string_view text);

struct PopulationVerdict {
  bool accepted = false;
  // The field whose edit gets the focus, or -1 when the message concerns no
  // single edit.
  int field = -1;
  DialogMessage message;    // when refused
  PopulationValues values;  // when accepted
};

// The dialog's OK: reads every field in exchange order, refusing the first
// that is not an integer or lies outside its bounds, then refuses more to
// save than the population.
PopulationVerdict ReadPopulation(const PopulationTexts& texts);
