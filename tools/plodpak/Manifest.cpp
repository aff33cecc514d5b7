#include "plodpak/Manifest.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <set>

#include "imageio/TerrainImage.h"
#include "model/Text.h"
#include "packfile/PackFile.h"
#include "plodpak/JsonWriter.h"

namespace plodpak {

namespace {

// The largest footprint position in the largest level; finer checks against
// the level's own size wait for its picture.
constexpr int MAX_OBJECT_X = 8 * MAX_WIDTH_BYTES - OBJECT_SIZE;
constexpr int MAX_OBJECT_Y = MAX_HEIGHT - OBJECT_SIZE;

std::string Quoted(const QString& text) {
  return JsonQuote(text.toUtf8().toStdString());
}

std::string NumberText(double value) {
  return QString::number(value, 'g', 17).toStdString();
}

// Collects problems for one place of the manifest ("FILE: level 2: ").
class Reporter {
 public:
  Reporter(Problems& problems, std::string prefix)
      : m_problems(problems), m_prefix(std::move(prefix)) {}

  // Reports a problem of `field`, or of the place itself when it is empty.
  void Fail(std::string_view field, const std::string& reason) {
    std::string line = m_prefix;
    if (!field.empty()) line += std::string(field) + ": ";
    m_problems.push_back(line + reason);
  }

  // Reports every key of `object` that is not in `allowed`.
  void RejectUnknownKeys(const QJsonObject& object, std::string_view where,
                         std::initializer_list<const char*> allowed) {
    for (auto it = object.begin(); it != object.end(); ++it) {
      bool known = false;
      for (const char* key : allowed) {
        if (it.key() == QLatin1String(key)) known = true;
      }
      if (!known) Fail(where, "unknown key " + Quoted(it.key()));
    }
  }

  // Reports `value` as missing, or as breaking `rule` when it does not
  // `fit`; true when it is there and fits.
  bool Required(const QJsonValue& value, std::string_view field, bool fits,
                const char* rule) {
    if (value.isUndefined()) {
      Fail(field, "missing");
      return false;
    }
    if (!fits) {
      Fail(field, rule);
      return false;
    }
    return true;
  }

  // A whole number within [low, high]; nullopt (reported) otherwise.
  std::optional<int> Integer(const QJsonValue& value, std::string_view field,
                             int low, int high) {
    if (!Required(value, field, value.isDouble(), "must be a whole number")) {
      return std::nullopt;
    }
    const double number = value.toDouble();
    if (std::floor(number) != number) {
      Fail(field, NumberText(number) + " is not a whole number");
      return std::nullopt;
    }
    if (number < low || number > high) {
      Fail(field, NumberText(number) + " is out of range (" +
                      std::to_string(low) + " to " + std::to_string(high) +
                      ")");
      return std::nullopt;
    }
    return static_cast<int>(number);
  }

  // Printable ASCII text of minChars to maxChars characters.
  std::optional<std::string> Text(const QJsonValue& value,
                                  std::string_view field, int minChars,
                                  int maxChars) {
    if (!Required(value, field, value.isString(), "must be a string")) {
      return std::nullopt;
    }
    const QString text = value.toString();
    for (qsizetype i = 0; i < text.size(); ++i) {
      const char16_t c = text.at(i).unicode();
      if (c < 0x20 || c > 0x7E) {
        Fail(field, "must be printable ASCII (character " +
                        std::to_string(i + 1) + " is not)");
        return std::nullopt;
      }
    }
    const auto chars = static_cast<int>(text.size());
    if (minChars == maxChars && chars != maxChars) {
      Fail(field, "must be exactly " + std::to_string(maxChars) +
                      " characters (it has " + std::to_string(chars) + ")");
      return std::nullopt;
    }
    if (chars == 0 && minChars > 0) {
      Fail(field, "must not be empty");
      return std::nullopt;
    }
    if (chars > maxChars) {
      Fail(field, std::to_string(chars) + " characters; at most " +
                      std::to_string(maxChars));
      return std::nullopt;
    }
    return text.toStdString();
  }

  std::optional<ManifestPoint> Point(const QJsonValue& value,
                                     const std::string& field) {
    if (!value.isObject()) {
      Fail(field, "must be an object with \"x\" and \"y\"");
      return std::nullopt;
    }
    const QJsonObject object = value.toObject();
    const std::size_t before = m_problems.size();
    RejectUnknownKeys(object, field, {"x", "y"});
    const auto x = Integer(object.value("x"), field + ": x", 0, MAX_OBJECT_X);
    const auto y = Integer(object.value("y"), field + ": y", 0, MAX_OBJECT_Y);
    if (x && *x % 8 != 0) {
      Fail(field, "x " + std::to_string(*x) + " is not a multiple of 8");
    }
    if (m_problems.size() != before || !x || !y) return std::nullopt;
    return ManifestPoint{*x, *y};
  }

 private:
  Problems& m_problems;
  std::string m_prefix;
};

std::string LevelPrefix(const std::string& file, int index) {
  return file + ": level " + std::to_string(index + 1) + ": ";
}

void ParseLevel(const QJsonValue& value, int index, const std::string& file,
                ManifestLevel& level, Problems& problems) {
  Reporter report(problems, LevelPrefix(file, index));
  if (!value.isObject()) {
    problems.push_back(file + ": level " + std::to_string(index + 1) +
                       ": must be an object");
    return;
  }
  const QJsonObject object = value.toObject();
  report.RejectUnknownKeys(
      object, "",
      {"name", "passcode", "population", "to_save", "spawn_interval", "time",
       "skills", "terrain", "entrance", "exit", "blocks"});

  if (auto name = report.Text(object.value("name"), "name", 0, NAME_CHARS)) {
    level.name = *name;
  }
  // The first level's passcode is never stored; levels 2 to 9 need theirs
  // complete, as the editor's Save As demands.
  const QJsonValue passcode = object.value("passcode");
  if (index == 0) {
    if (!passcode.isUndefined()) {
      level.passcode = report.Text(passcode, "passcode", 0, PASSCODE_CHARS);
    }
  } else if (passcode.isUndefined()) {
    report.Fail("passcode",
                "missing; levels 2 to 9 need a four-character passcode");
  } else {
    level.passcode =
        report.Text(passcode, "passcode", PASSCODE_CHARS, PASSCODE_CHARS);
  }
  // The editor types passcodes in capitals and could never show a stored
  // lower-case letter as it is.
  if (level.passcode &&
      std::any_of(level.passcode->begin(), level.passcode->end(),
                  [](char c) { return c >= 'a' && c <= 'z'; })) {
    report.Fail("passcode",
                "must not hold lower-case letters (the editor "
                "types passcodes in capitals)");
    level.passcode.reset();
  }

  const auto population =
      report.Integer(object.value("population"), "population", 1, 50);
  const auto toSave = report.Integer(object.value("to_save"), "to_save", 1, 50);
  const auto interval =
      report.Integer(object.value("spawn_interval"), "spawn_interval", 1, 220);
  const auto time = report.Integer(object.value("time"), "time", 1, 20000);
  if (population && toSave && *toSave > *population) {
    report.Fail("to_save", std::to_string(*toSave) +
                               " is more than the population (" +
                               std::to_string(*population) + ")");
  }
  level.population = population.value_or(0);
  level.toSave = toSave.value_or(0);
  level.spawnInterval = interval.value_or(0);
  level.time = time.value_or(0);

  const QJsonValue skills = object.value("skills");
  if (report.Required(skills, "skills", skills.isObject(),
                      "must be an object")) {
    const QJsonObject skillObject = skills.toObject();
    report.RejectUnknownKeys(
        skillObject, "skills",
        {SKILL_KEYS[0], SKILL_KEYS[1], SKILL_KEYS[2], SKILL_KEYS[3],
         SKILL_KEYS[4], SKILL_KEYS[5], SKILL_KEYS[6], SKILL_KEYS[7]});
    for (int s = 0; s < SKILL_COUNT; ++s) {
      const std::string field = std::string("skills: ") + SKILL_KEYS[s];
      level.skills[s] =
          report.Integer(skillObject.value(SKILL_KEYS[s]), field, 0, 50)
              .value_or(0);
    }
  }

  const QJsonValue terrain = object.value("terrain");
  if (report.Required(terrain, "terrain",
                      terrain.isString() && !terrain.toString().isEmpty(),
                      "must be the path of a PNG picture")) {
    level.terrain = terrain.toString().toStdString();
  }

  if (object.contains("entrance")) {
    level.entrance = report.Point(object.value("entrance"), "entrance");
  }
  if (object.contains("exit")) {
    level.exit = report.Point(object.value("exit"), "exit");
  }

  const QJsonValue blocks = object.value("blocks");
  if (!blocks.isUndefined()) {
    if (!blocks.isArray()) {
      report.Fail("blocks", "must be an array");
    } else {
      const QJsonArray array = blocks.toArray();
      if (array.size() > MAX_BLOCKS) {
        report.Fail("blocks", std::to_string(array.size()) +
                                  " blocks; a level holds at most " +
                                  std::to_string(MAX_BLOCKS));
      } else {
        for (qsizetype b = 0; b < array.size(); ++b) {
          const std::string field = "block " + std::to_string(b + 1);
          if (auto point = report.Point(array.at(b), field)) {
            level.blocks.push_back(*point);
          }
        }
      }
    }
  }
}

// 1-based line and column of a byte offset, for JSON syntax errors.
std::string Position(std::string_view text, qsizetype offset) {
  int line = 1;
  int column = 1;
  for (qsizetype i = 0; i < offset && i < static_cast<qsizetype>(text.size());
       ++i) {
    if (text[static_cast<std::size_t>(i)] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// Finds keys that stand twice in one object of a JSON text that is known to
// be valid. A JSON reader keeps only the last of them, so a manifest's
// "author" given twice would be taken from the second without a word; each
// such key is reported, at the manifest's place of its object ("level 2:
// skills: ").
class DuplicateKeys {
 public:
  DuplicateKeys(std::string_view text, Problems& problems)
      : m_text(text), m_problems(problems) {}

  void Scan(const std::string& prefix) { Value(prefix, Place::Root, 0); }

 private:
  // What a value is in the manifest, for naming the place of its keys.
  enum class Place { Root, Levels, Level, Blocks, Other };

  // Deeper than any manifest; the reader refuses far less deep texts.
  static constexpr int MAX_DEPTH = 2048;

  bool AtEnd() const { return m_at >= m_text.size(); }
  char Peek() const { return AtEnd() ? '\0' : m_text[m_at]; }

  void SkipSpace() {
    while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' ||
                        Peek() == '\r')) {
      ++m_at;
    }
  }

  // Four hex digits after "\u"; 0 for anything else (the text is valid).
  unsigned Hex4() {
    unsigned value = 0;
    for (int i = 0; i < 4 && !AtEnd(); ++i, ++m_at) {
      const char c = Peek();
      value <<= 4;
      if (c >= '0' && c <= '9') value |= static_cast<unsigned>(c - '0');
      if (c >= 'a' && c <= 'f') value |= static_cast<unsigned>(c - 'a' + 10);
      if (c >= 'A' && c <= 'F') value |= static_cast<unsigned>(c - 'A' + 10);
    }
    return value;
  }

  static void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  // A string at the opening quote, its escapes decoded, so that "a\u0062"
  // and "ab" are the same key.
  std::string String() {
    std::string out;
    ++m_at;  // the opening quote
    while (!AtEnd() && Peek() != '"') {
      char c = m_text[m_at++];
      if (c != '\\' || AtEnd()) {
        out += c;
        continue;
      }
      c = m_text[m_at++];
      switch (c) {
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          unsigned code = Hex4();
          // A surrogate pair is one character.
          if (code >= 0xD800 && code <= 0xDBFF &&
              m_text.substr(m_at, 2) == "\\u") {
            const std::size_t mark = m_at;
            m_at += 2;
            const unsigned low = Hex4();
            if (low >= 0xDC00 && low <= 0xDFFF) {
              code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            } else {
              m_at = mark;
            }
          }
          AppendUtf8(out, code);
          break;
        }
        default:
          out += c;
          break;  // '"', '\\' and '/'
      }
    }
    ++m_at;  // the closing quote
    return out;
  }

  void Value(const std::string& prefix, Place place, int depth) {
    SkipSpace();
    if (AtEnd() || depth > MAX_DEPTH) {
      m_at = m_text.size();
      return;
    }
    const char c = Peek();
    if (c == '{') {
      Object(prefix, place, depth);
    } else if (c == '[') {
      Array(prefix, place, depth);
    } else if (c == '"') {
      String();
    } else {
      // A number, true, false or null.
      while (!AtEnd() && std::string_view(",]} \t\r\n").find(Peek()) ==
                             std::string_view::npos) {
        ++m_at;
      }
    }
  }

  void Object(const std::string& prefix, Place place, int depth) {
    ++m_at;  // '{'
    std::set<std::string> seen;
    std::set<std::string> reported;
    SkipSpace();
    while (!AtEnd() && Peek() != '}') {
      if (Peek() != '"') {  // not valid JSON after all: stop looking
        m_at = m_text.size();
        return;
      }
      const std::string key = String();
      if (!seen.insert(key).second && reported.insert(key).second) {
        m_problems.push_back(prefix + "key " + JsonQuote(key) +
                             " is given more than once");
      }
      SkipSpace();
      if (Peek() == ':') ++m_at;
      if (place == Place::Root && key == "levels") {
        Value(prefix, Place::Levels, depth + 1);
      } else if (place == Place::Level && key == "blocks") {
        Value(prefix, Place::Blocks, depth + 1);
      } else {
        Value(prefix + key + ": ", Place::Other, depth + 1);
      }
      SkipSpace();
      if (Peek() == ',') ++m_at;
      SkipSpace();
    }
    ++m_at;  // '}'
  }

  void Array(const std::string& prefix, Place place, int depth) {
    ++m_at;  // '['
    SkipSpace();
    for (int index = 1; !AtEnd() && Peek() != ']'; ++index) {
      const std::size_t start = m_at;
      const std::string number = std::to_string(index);
      if (place == Place::Levels) {
        Value(prefix + "level " + number + ": ", Place::Level, depth + 1);
      } else if (place == Place::Blocks) {
        Value(prefix + "block " + number + ": ", Place::Other, depth + 1);
      } else {
        Value(prefix + "item " + number + ": ", Place::Other, depth + 1);
      }
      SkipSpace();
      if (Peek() == ',') ++m_at;
      SkipSpace();
      // Not valid JSON after all ("[}"): stop rather than loop.
      if (m_at == start) m_at = m_text.size();
    }
    ++m_at;  // ']'
  }

  std::string_view m_text;
  std::size_t m_at = 0;
  Problems& m_problems;
};

// What a JSON text holds at its top when it is not an object or an array
// ("null", "a number"), or empty when it is not one JSON value at all.
std::string TopLevelValue(std::string_view json) {
  QByteArray wrapped = "[";
  wrapped.append(json.data(), static_cast<qsizetype>(json.size()));
  wrapped.append(']');
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(wrapped, &error);
  if (error.error != QJsonParseError::NoError || document.array().size() != 1) {
    return {};
  }
  const QJsonValue value = document.array().at(0);
  if (value.isNull()) return "null";
  if (value.isBool()) return value.toBool() ? "true" : "false";
  if (value.isDouble()) return "a number";
  if (value.isString()) return "a string";
  return {};
}

bool Inside(const ManifestPoint& point, const LevelRecord& level) {
  return point.x + OBJECT_SIZE <= level.WidthPixels() &&
         point.y + OBJECT_SIZE <= level.m_nHeight;
}

LevelObject MakeObject(int kind, const ManifestPoint& point) {
  return LevelObject{static_cast<std::uint8_t>(kind),
                     static_cast<std::uint8_t>(point.x / 8),
                     static_cast<std::uint8_t>(point.y)};
}

JsonValue PointJson(const LevelObject& object) {
  return JsonValue::Object()
      .Add("x", 8 * static_cast<int>(object.col))
      .Add("y", static_cast<int>(object.row));
}

}  // namespace

bool ParseManifest(std::string_view json, const std::string& file,
                   Manifest& manifest, Problems& problems) {
  const std::size_t before = problems.size();
  QJsonParseError parseError;
  const QJsonDocument document = QJsonDocument::fromJson(
      QByteArray(json.data(), static_cast<qsizetype>(json.size())),
      &parseError);
  if (parseError.error != QJsonParseError::NoError) {
    // A lone number, string, true, false or null is valid JSON, but not a
    // manifest.
    const std::string top = TopLevelValue(json);
    if (!top.empty()) {
      problems.push_back(file + ": must hold one JSON object (it holds " + top +
                         ")");
      return false;
    }
    problems.push_back(
        file + ": not valid JSON: " + parseError.errorString().toStdString() +
        " at " + Position(json, parseError.offset));
    return false;
  }
  if (!document.isObject()) {
    problems.push_back(file +
                       ": must hold one JSON object (it holds an array)");
    return false;
  }
  DuplicateKeys(json, problems).Scan(file + ": ");
  const QJsonObject root = document.object();
  Reporter report(problems, file + ": ");
  report.RejectUnknownKeys(root, "",
                           {"format", "author", "password", "levels"});

  const QJsonValue format = root.value("format");
  if (format.isUndefined()) {
    report.Fail("format", "missing (this plodpak reads format 1)");
  } else if (!format.isDouble() || format.toDouble() != MANIFEST_FORMAT) {
    report.Fail("format", "unsupported (this plodpak reads format 1)");
  }

  Manifest result;
  result.author =
      report.Text(root.value("author"), "author", 1, AUTHOR_TYPED_CHARS)
          .value_or("");
  if (!root.value("password").isUndefined()) {
    result.password =
        report.Text(root.value("password"), "password", 1, PASSWORD_CHARS);
  }

  const QJsonValue levels = root.value("levels");
  if (report.Required(levels, "levels", levels.isArray(), "must be an array")) {
    const QJsonArray array = levels.toArray();
    if (array.isEmpty()) {
      report.Fail("levels", "a pack needs at least one level");
    } else if (array.size() > MAX_LEVELS) {
      report.Fail("levels", std::to_string(array.size()) +
                                " levels; a pack holds at most " +
                                std::to_string(MAX_LEVELS));
    } else {
      result.levels.resize(static_cast<std::size_t>(array.size()));
      for (qsizetype i = 0; i < array.size(); ++i) {
        ParseLevel(array.at(i), static_cast<int>(i), file,
                   result.levels[static_cast<std::size_t>(i)], problems);
      }
    }
  }

  if (problems.size() != before) return false;
  manifest = std::move(result);
  return true;
}

bool CheckPassword(std::string_view password, const std::string& source,
                   Problems& problems) {
  const std::size_t before = problems.size();
  Reporter report(problems, source + ": ");
  report.Text(QJsonValue(QString::fromLatin1(
                  password.data(), static_cast<qsizetype>(password.size()))),
              "password", 1, PASSWORD_CHARS);
  return problems.size() == before;
}

std::string TerrainPath(const std::string& manifestPath,
                        const ManifestLevel& level) {
  return (std::filesystem::path(manifestPath).parent_path() / level.terrain)
      .string();
}

bool AssemblePack(const Manifest& manifest, const std::string& manifestPath,
                  PackContents& pack, Problems& problems) {
  const std::size_t before = problems.size();
  PackContents result;
  result.m_szAuthorName = manifest.author;
  result.m_szPassword = manifest.password.value_or("");
  result.levels.resize(manifest.levels.size());

  for (std::size_t i = 0; i < manifest.levels.size(); ++i) {
    const ManifestLevel& source = manifest.levels[i];
    LevelRecord& level = result.levels[i];
    const int index = static_cast<int>(i);
    Reporter report(problems, LevelPrefix(manifestPath, index));

    const char* incomplete =
        "missing; every level needs an entrance and an exit";
    if (!source.entrance) report.Fail("entrance", incomplete);
    if (!source.exit) report.Fail("exit", incomplete);

    const std::string picture = TerrainPath(manifestPath, source);
    std::string error;
    if (!ReadTerrainFile(picture, level, error)) {
      problems.push_back(LevelPrefix(picture, index) + "terrain: " + error);
      continue;  // the objects cannot be checked without the level's size
    }

    level.m_nPopulation = source.population;
    level.m_nToSave = source.toSave;
    level.m_nSpawnInterval = source.spawnInterval;
    level.m_nTime = source.time;
    for (int s = 0; s < SKILL_COUNT; ++s) {
      level.m_nSkills[s] = static_cast<std::int8_t>(source.skills[s]);
    }
    std::snprintf(level.m_szName, sizeof level.m_szName, "%s",
                  source.name.c_str());
    std::snprintf(level.m_szPasscode, sizeof level.m_szPasscode, "%s",
                  source.passcode.value_or("").c_str());

    const std::string size = std::to_string(level.WidthPixels()) + " x " +
                             std::to_string(level.m_nHeight);
    auto place = [&](const ManifestPoint& point, int kind, int slot,
                     const std::string& field) {
      if (!Inside(point, level)) {
        report.Fail(field, "(" + std::to_string(point.x) + ", " +
                               std::to_string(point.y) +
                               ") puts the 16 x 16 object outside the " + size +
                               " level");
        return;
      }
      level.m_objects[slot] = MakeObject(kind, point);
    };
    if (source.entrance) {
      place(*source.entrance, OBJ_ENTRANCE, ENTRANCE_SLOT, "entrance");
    }
    if (source.exit) place(*source.exit, OBJ_EXIT, EXIT_SLOT, "exit");
    for (std::size_t b = 0; b < source.blocks.size(); ++b) {
      place(source.blocks[b], OBJ_BLOCK, FIRST_BLOCK_SLOT + static_cast<int>(b),
            "block " + std::to_string(b + 1));
    }
    level.m_nBlockCount = static_cast<std::int32_t>(source.blocks.size());
  }

  if (problems.size() != before) return false;
  pack = std::move(result);
  return true;
}

bool CheckPackFits(const PackContents& pack, VariableFlavour flavour,
                   const std::string& file, std::string& problem) {
  std::vector<std::uint8_t> image;
  std::string error;
  if (!EncodePackImage(pack, image, error)) {
    problem = file + ": " + error;
    return false;
  }
  std::vector<std::uint8_t> bytes;
  if (!EncodeVariableFile("", "A", image, TYPE_PROTECTED_PROGRAM, bytes, error,
                          flavour)) {
    problem = file + ": " + error;
    return false;
  }
  return true;
}

std::string ExportManifest(const PackContents& pack, bool withPassword) {
  JsonValue levels = JsonValue::Array();
  for (std::size_t i = 0; i < pack.levels.size(); ++i) {
    const LevelRecord& level = pack.levels[i];
    JsonValue entry = JsonValue::Object();
    entry.Add("name", std::string_view(level.m_szName));
    if (i > 0) entry.Add("passcode", std::string_view(level.m_szPasscode));
    entry.Add("population", static_cast<int>(level.m_nPopulation))
        .Add("to_save", static_cast<int>(level.m_nToSave))
        .Add("spawn_interval", static_cast<int>(level.m_nSpawnInterval))
        .Add("time", static_cast<int>(level.m_nTime));
    JsonValue skills = JsonValue::Object();
    for (int s = 0; s < SKILL_COUNT; ++s) {
      skills.Add(SKILL_KEYS[s], static_cast<int>(level.m_nSkills[s]));
    }
    entry.Add("skills", std::move(skills));
    entry.Add("terrain", TerrainFileName(static_cast<int>(i)));
    if (level.m_objects[ENTRANCE_SLOT].kind != OBJ_NONE) {
      entry.Add("entrance", PointJson(level.m_objects[ENTRANCE_SLOT]));
    }
    if (level.m_objects[EXIT_SLOT].kind != OBJ_NONE) {
      entry.Add("exit", PointJson(level.m_objects[EXIT_SLOT]));
    }
    JsonValue blocks = JsonValue::Array();
    for (int b = 0; b < level.m_nBlockCount; ++b) {
      blocks.Push(PointJson(level.m_objects[FIRST_BLOCK_SLOT + b]));
    }
    entry.Add("blocks", std::move(blocks));
    levels.Push(std::move(entry));
  }
  JsonValue root = JsonValue::Object();
  root.Add("format", MANIFEST_FORMAT).Add("author", pack.m_szAuthorName);
  if (withPassword) root.Add("password", pack.m_szPassword);
  return root.Add("levels", std::move(levels)).Dump();
}

}  // namespace plodpak
