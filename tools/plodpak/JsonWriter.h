#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plodpak {

// A JSON value that keeps its object keys in the order they were added, so
// that what plodpak writes reads like a hand-made manifest. Qt's JSON classes
// sort keys, which would scatter a level's fields.
class JsonValue {
 public:
  JsonValue() = default;  // null
  JsonValue(bool value);
  JsonValue(int value);
  JsonValue(long long value);
  JsonValue(std::string_view text);
  JsonValue(const char* text) : JsonValue(std::string_view(text)) {}
  JsonValue(const std::string& text) : JsonValue(std::string_view(text)) {}

  static JsonValue Object();
  static JsonValue Array();

  // Appends a member to an object (keys are not checked for duplicates).
  JsonValue& Add(std::string_view key, JsonValue value);
  // Appends an element to an array.
  JsonValue& Push(JsonValue value);

  // Two-space indented text ending in a newline. Objects and arrays whose
  // members are all scalars are kept on one line when that line is short.
  std::string Dump() const;

 private:
  enum class Kind { Null, Bool, Number, String, Array, Object };

  bool IsScalar() const;
  bool IsFlat() const;
  void Write(std::string& out, int indent) const;
  void WriteInline(std::string& out) const;

  Kind m_kind = Kind::Null;
  bool m_bool = false;
  long long m_number = 0;
  std::string m_text;
  std::vector<std::string> m_keys;
  std::vector<JsonValue> m_items;
};

// A JSON string literal for bytes taken as Latin-1: quotes, backslashes,
// control characters and every byte above 0x7E are escaped, so the result is
// plain ASCII whatever the bytes were.
std::string JsonQuote(std::string_view bytes);

}  // namespace plodpak
