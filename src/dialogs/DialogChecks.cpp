#include "dialogs/DialogChecks.h"

#include <limits>

namespace {

constexpr char kSecurityCaption[] = "Security Error";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' ||
         c == '\f';
}

// Bounds in exchange order.
constexpr FieldBounds kBounds[POPULATION_FIELDS] = {
    {1, 50}, {1, 220}, {1, 50}, {1, 20000}, {0, 50}, {0, 50},
    {0, 50}, {0, 50},  {0, 50}, {0, 50},    {0, 50}, {0, 50},
};

}  // namespace

SecurityVerdict CheckSecurityInfo(std::string_view name,
                                  std::string_view password,
                                  std::string_view confirm) {
  if (name.empty() || password.empty() || confirm.empty()) {
    return SecurityVerdict::MissingField;
  }
  if (password != confirm) return SecurityVerdict::PasswordsDiffer;
  return SecurityVerdict::Accept;
}

std::optional<DialogMessage> SecurityMessage(SecurityVerdict verdict) {
  switch (verdict) {
    case SecurityVerdict::MissingField:
      return DialogMessage{"All fields must have data entered.",
                           kSecurityCaption, MessageIcon::Exclamation};
    case SecurityVerdict::PasswordsDiffer:
      return DialogMessage{"Passwords do not match.", kSecurityCaption,
                           MessageIcon::Exclamation};
    case SecurityVerdict::Accept:
      break;
  }
  return std::nullopt;
}

bool PasswordMatches(std::string_view typed, const char* expected) {
  if (expected == nullptr) return false;
  return typed == std::string_view(expected);
}

DialogMessage WrongPasswordMessage() {
  return {"Wrong. Try again.", "Error", MessageIcon::None};
}

PopulationValues PopulationValues::FromLevel(const LevelRecord& level) {
  PopulationValues values;
  values.m_nPopulation = level.m_nPopulation;
  values.m_nSpawnInterval = level.m_nSpawnInterval;
  values.m_nToSave = level.m_nToSave;
  values.m_nTime = level.m_nTime;
  for (int i = 0; i < SKILL_COUNT; ++i)
    values.m_nSkills[i] = level.m_nSkills[i];
  return values;
}

void PopulationValues::ApplyTo(LevelRecord& level) const {
  level.m_nPopulation = m_nPopulation;
  level.m_nSpawnInterval = m_nSpawnInterval;
  level.m_nToSave = m_nToSave;
  level.m_nTime = m_nTime;
  for (int i = 0; i < SKILL_COUNT; ++i) {
    level.m_nSkills[i] = static_cast<std::int8_t>(m_nSkills[i] & 0xFF);
  }
}

std::int32_t& PopulationValues::Field(int field) {
  switch (field) {
    case PF_POPULATION:
      return m_nPopulation;
    case PF_SPAWN_INTERVAL:
      return m_nSpawnInterval;
    case PF_TO_SAVE:
      return m_nToSave;
    case PF_TIME:
      return m_nTime;
    default:
      return m_nSkills[field - PF_FIRST_SKILL];
  }
}

std::int32_t PopulationValues::Field(int field) const {
  return const_cast<PopulationValues*>(this)->Field(field);
}

PopulationTexts FormatPopulation(const PopulationValues& values) {
  PopulationTexts texts;
  for (int field = 0; field < POPULATION_FIELDS; ++field) {
    texts[field] = std::to_string(values.Field(field));
  }
  return texts;
}

std::optional<std::int32_t> ParseExchangeInt(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  const std::size_t digitsStart = pos;
  // Accumulate in 64 bits and stop growing once beyond the 32-bit range.
  constexpr std::int64_t kCap =
      static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
  std::int64_t magnitude = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
    if (magnitude <= kCap) magnitude = magnitude * 10 + (text[pos] - '0');
    ++pos;
  }
  if (pos == digitsStart) return std::nullopt;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  if (pos != text.size()) return std::nullopt;
  std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<std::int32_t>::max()) {
    value = std::numeric_limits<std::int32_t>::max();
  } else if (value < std::numeric_limits<std::int32_t>::min()) {
    value = std::numeric_limits<std::int32_t>::min();
  }
  return static_cast<std::int32_t>(value);
}

FieldBounds PopulationBounds(int field) { return kBounds[field]; }

PopulationVerdict ReadPopulation(const PopulationTexts& texts) {
  PopulationVerdict verdict;
  for (int field = 0; field < POPULATION_FIELDS; ++field) {
    const std::optional<std::int32_t> value = ParseExchangeInt(texts[field]);
    if (!value) {
      verdict.field = field;
      verdict.message = {"Please enter an integer.", kApplicationName,
                         MessageIcon::Exclamation};
      return verdict;
    }
    const FieldBounds bounds = kBounds[field];
    if (*value < bounds.min || *value > bounds.max) {
      verdict.field = field;
      verdict.message = {"Please enter an integer between " +
                             std::to_string(bounds.min) + " and " +
                             std::to_string(bounds.max) + ".",
                         kApplicationName, MessageIcon::Exclamation};
      return verdict;
    }
    verdict.values.Field(field) = *value;
  }
  if (verdict.values.m_nToSave > verdict.values.m_nPopulation) {
    verdict.message = {"You cannot save more than you have.",
                       "Population Error", MessageIcon::Exclamation};
    return verdict;
  }
  verdict.accepted = true;
  return verdict;
}
