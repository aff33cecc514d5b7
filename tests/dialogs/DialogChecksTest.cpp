#include "dialogs/DialogChecks.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

// ---- Name & Security Info ---------------------------------------------------

struct SecurityCase {
  const char* name;
  const char* password;
  const char* confirm;
  SecurityVerdict verdict;
};

TEST(DlgSecurityCheck, RefusesMissingFieldsBeforeComparingPasswords) {
  const std::string name25(25, 'n');
  const SecurityCase cases[] = {
      {"", "", "", SecurityVerdict::MissingField},
      {"Ann", "secret", "", SecurityVerdict::MissingField},
      {"Ann", "", "secret", SecurityVerdict::MissingField},
      {"", "secret", "secret", SecurityVerdict::MissingField},
      // Missing wins over a mismatch.
      {"", "a", "b", SecurityVerdict::MissingField},
      {"Ann", "Secret", "secret", SecurityVerdict::PasswordsDiffer},
      {"Ann", "secret", "secret ", SecurityVerdict::PasswordsDiffer},
      {"Ann", "secret", "secret", SecurityVerdict::Accept},
      {name25.c_str(), "0123456789", "0123456789", SecurityVerdict::Accept},
      {" ", " ", " ", SecurityVerdict::Accept},
  };
  for (const SecurityCase& c : cases) {
    SCOPED_TRACE(std::string(c.name) + "|" + c.password + "|" + c.confirm);
    EXPECT_EQ(CheckSecurityInfo(c.name, c.password, c.confirm), c.verdict);
  }
}

TEST(DlgSecurityCheck, MessagesOfTheRefusals) {
  EXPECT_EQ(SecurityMessage(SecurityVerdict::MissingField),
            (DialogMessage{"All fields must have data entered.",
                           "Security Error", MessageIcon::Exclamation}));
  EXPECT_EQ(SecurityMessage(SecurityVerdict::PasswordsDiffer),
            (DialogMessage{"Passwords do not match.", "Security Error",
                           MessageIcon::Exclamation}));
  EXPECT_FALSE(SecurityMessage(SecurityVerdict::Accept).has_value());
}

// ---- Protected File ---------------------------------------------------------

TEST(DlgPasswordCheck, ComparesExactly) {
  struct Case {
    const char* typed;
    const char* expected;
    bool matches;
  };
  const Case cases[] = {
      {"plod", "plod", true},   {"", "", true},
      {"Plod", "plod", false},  {"plo", "plod", false},
      {"plodd", "plod", false}, {"plod ", "plod", false},
      {"", "plod", false},      {"x", "", false},
      {"", nullptr, false},     {"plod", nullptr, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.typed) + "|" +
                 (c.expected ? c.expected : "(none)"));
    EXPECT_EQ(PasswordMatches(c.typed, c.expected), c.matches);
  }
  EXPECT_EQ(WrongPasswordMessage(),
            (DialogMessage{"Wrong. Try again.", "Error", MessageIcon::None}));
}

// ---- Current Level Population ---------------------------------------------

TEST(DlgExchangeInt, ParsesLikeTheDataExchange) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> value;
  };
  const Case cases[] = {
      {"12", 12},
      {"007", 7},
      {"  12\t", 12},
      {"+7", 7},
      {"-1", -1},
      {"0", 0},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"-", std::nullopt},
      {"+ 5", std::nullopt},
      {"1a", std::nullopt},
      {"1 2", std::nullopt},
      {"0x10", std::nullopt},
      {"1.5", std::nullopt},
      {"2147483647", INT32_MAX},
      // Beyond 32 bits a number stays beyond every bound instead of
      // wrapping into one.
      {"4294967297", INT32_MAX},
      {"99999999999999999999999", INT32_MAX},
      {"-99999999999999999999999", INT32_MIN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseExchangeInt(c.text), c.value);
  }
}

PopulationTexts DefaultTexts() {
  LevelRecord level;
  return FormatPopulation(PopulationValues::FromLevel(level));
}

TEST(DlgPopulationCheck, AcceptsTheDefaultsAndTheUpperBounds) {
  PopulationVerdict verdict = ReadPopulation(DefaultTexts());
  ASSERT_TRUE(verdict.accepted);
  EXPECT_EQ(verdict.values, PopulationValues::FromLevel(LevelRecord{}));

  PopulationTexts texts = {"50", "220", "50", "20000", "50", "50",
                           "50", "50",  "50", "50",    "50", "50"};
  verdict = ReadPopulation(texts);
  ASSERT_TRUE(verdict.accepted);
  EXPECT_EQ(verdict.values.m_nSpawnInterval, 220);
  EXPECT_EQ(verdict.values.m_nTime, 20000);

  texts = {"1", "1", "1", "1", "0", "0", "0", "0", "0", "0", "0", "0"};
  EXPECT_TRUE(ReadPopulation(texts).accepted);
}

TEST(DlgPopulationCheck, RefusesTheFirstBadFieldWithTheStandardMessage) {
  struct Case {
    int field;
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {PF_POPULATION, "0", "Please enter an integer between 1 and 50."},
      {PF_POPULATION, "51", "Please enter an integer between 1 and 50."},
      {PF_POPULATION, "", "Please enter an integer."},
      {PF_SPAWN_INTERVAL, "221", "Please enter an integer between 1 and 220."},
      {PF_TO_SAVE, "0", "Please enter an integer between 1 and 50."},
      {PF_TIME, "0", "Please enter an integer between 1 and 20000."},
      {PF_TIME, "20001", "Please enter an integer between 1 and 20000."},
      {PF_TIME, "12 00", "Please enter an integer."},
      {PF_TIME, "4294968496", "Please enter an integer between 1 and 20000."},
      {PF_FIRST_SKILL + SKILL_BASHERS, "51",
       "Please enter an integer between 0 and 50."},
      {PF_FIRST_SKILL + SKILL_MINERS, "-1",
       "Please enter an integer between 0 and 50."},
      {PF_FIRST_SKILL + SKILL_FLOATERS, "ten", "Please enter an integer."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.field) + ": " + c.text);
    PopulationTexts texts = DefaultTexts();
    texts[c.field] = c.text;
    const PopulationVerdict verdict = ReadPopulation(texts);
    EXPECT_FALSE(verdict.accepted);
    EXPECT_EQ(verdict.field, c.field);
    EXPECT_EQ(verdict.message, (DialogMessage{c.message, kApplicationName,
                                              MessageIcon::Exclamation}));
  }
}

TEST(DlgPopulationCheck, ReportsOnlyTheFirstBadFieldInExchangeOrder) {
  PopulationTexts texts = DefaultTexts();
  texts[PF_TIME] = "0";
  texts[PF_FIRST_SKILL + SKILL_BASHERS] = "x";
  texts[PF_FIRST_SKILL + SKILL_BLOCKERS] = "99";
  EXPECT_EQ(ReadPopulation(texts).field, PF_TIME);

  texts[PF_TIME] = "1";
  // Bashers are exchanged before blockers, though shown after them.
  EXPECT_EQ(ReadPopulation(texts).field, PF_FIRST_SKILL + SKILL_BASHERS);

  // A bad field is reported before more-to-save-than-population.
  texts = DefaultTexts();
  texts[PF_POPULATION] = "10";
  texts[PF_TO_SAVE] = "11";
  texts[PF_FIRST_SKILL + SKILL_MINERS] = "51";
  EXPECT_EQ(ReadPopulation(texts).field, PF_FIRST_SKILL + SKILL_MINERS);
}

TEST(DlgPopulationCheck, RefusesSavingMoreThanThePopulation) {
  PopulationTexts texts = DefaultTexts();
  texts[PF_POPULATION] = "10";
  texts[PF_TO_SAVE] = "11";
  PopulationVerdict verdict = ReadPopulation(texts);
  EXPECT_FALSE(verdict.accepted);
  EXPECT_EQ(verdict.field, -1);
  EXPECT_EQ(verdict.message,
            (DialogMessage{"You cannot save more than you have.",
                           "Population Error", MessageIcon::Exclamation}));

  texts[PF_TO_SAVE] = "10";
  verdict = ReadPopulation(texts);
  EXPECT_TRUE(verdict.accepted);
  EXPECT_EQ(verdict.values.m_nToSave, 10);
}

TEST(DlgPopulationValues, CopiesTheSkillsByIndexAndNothingElse) {
  LevelRecord level;
  for (int i = 0; i < SKILL_COUNT; ++i) {
    level.m_nSkills[i] = static_cast<std::int8_t>(i + 1);
  }
  PopulationValues values = PopulationValues::FromLevel(level);
  EXPECT_EQ(values.m_nSkills[SKILL_BASHERS], 1);
  EXPECT_EQ(values.Field(PF_FIRST_SKILL + SKILL_MINERS), 8);

  values.m_nPopulation = 44;
  values.m_nSpawnInterval = 200;
  values.m_nToSave = 40;
  values.m_nTime = 19999;
  values.m_nSkills[SKILL_BASHERS] = 50;
  values.m_nSkills[SKILL_BLOCKERS] = 0;
  LevelRecord edited = level;
  values.ApplyTo(edited);
  EXPECT_EQ(edited.m_nPopulation, 44);
  EXPECT_EQ(edited.m_nSpawnInterval, 200);
  EXPECT_EQ(edited.m_nToSave, 40);
  EXPECT_EQ(edited.m_nTime, 19999);
  EXPECT_EQ(edited.m_nSkills[SKILL_BASHERS], 50);
  EXPECT_EQ(edited.m_nSkills[SKILL_BLOCKERS], 0);
  EXPECT_EQ(edited.m_nSkills[SKILL_MINERS], 8);
  EXPECT_STREQ(edited.m_szName, level.m_szName);
  EXPECT_EQ(edited.m_nWidthBytes, level.m_nWidthBytes);
}

}  // namespace
