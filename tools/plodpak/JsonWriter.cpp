#include "plodpak/JsonWriter.h"

#include <cstdio>

namespace plodpak {

namespace {

constexpr std::size_t INLINE_WIDTH = 72;

}  // namespace

JsonValue::JsonValue(bool value) : m_kind(Kind::Bool), m_bool(value) {}

JsonValue::JsonValue(int value) : m_kind(Kind::Number), m_number(value) {}

JsonValue::JsonValue(long long value) : m_kind(Kind::Number), m_number(value) {}

JsonValue::JsonValue(std::string_view text)
    : m_kind(Kind::String), m_text(text) {}

JsonValue JsonValue::Object() {
  JsonValue value;
  value.m_kind = Kind::Object;
  return value;
}

JsonValue JsonValue::Array() {
  JsonValue value;
  value.m_kind = Kind::Array;
  return value;
}

JsonValue& JsonValue::Add(std::string_view key, JsonValue value) {
  m_keys.emplace_back(key);
  m_items.push_back(std::move(value));
  return *this;
}

JsonValue& JsonValue::Push(JsonValue value) {
  m_items.push_back(std::move(value));
  return *this;
}

std::string JsonValue::Dump() const {
  std::string out;
  Write(out, 0);
  out += '\n';
  return out;
}

bool JsonValue::IsScalar() const {
  return m_kind != Kind::Array && m_kind != Kind::Object;
}

bool JsonValue::IsFlat() const {
  for (const JsonValue& item : m_items) {
    if (!item.IsScalar()) return false;
  }
  return true;
}

void JsonValue::WriteInline(std::string& out) const {
  switch (m_kind) {
    case Kind::Null:
      out += "null";
      return;
    case Kind::Bool:
      out += m_bool ? "true" : "false";
      return;
    case Kind::Number:
      out += std::to_string(m_number);
      return;
    case Kind::String:
      out += JsonQuote(m_text);
      return;
    case Kind::Array:
    case Kind::Object: {
      const bool object = m_kind == Kind::Object;
      if (m_items.empty()) {
        out += object ? "{}" : "[]";
        return;
      }
      out += object ? "{ " : "[ ";
      for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (i > 0) out += ", ";
        if (object) {
          out += JsonQuote(m_keys[i]);
          out += ": ";
        }
        m_items[i].WriteInline(out);
      }
      out += object ? " }" : " ]";
      return;
    }
  }
}

void JsonValue::Write(std::string& out, int indent) const {
  if (IsScalar() || m_items.empty()) {
    WriteInline(out);
    return;
  }
  if (IsFlat()) {
    std::string line;
    WriteInline(line);
    if (line.size() + static_cast<std::size_t>(indent) <= INLINE_WIDTH) {
      out += line;
      return;
    }
  }
  const bool object = m_kind == Kind::Object;
  const std::string inner(static_cast<std::size_t>(indent + 2), ' ');
  out += object ? "{\n" : "[\n";
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    out += inner;
    if (object) {
      out += JsonQuote(m_keys[i]);
      out += ": ";
    }
    m_items[i].Write(out, indent + 2);
    out += i + 1 < m_items.size() ? ",\n" : "\n";
  }
  out += std::string(static_cast<std::size_t>(indent), ' ');
  out += object ? "}" : "]";
}

std::string JsonQuote(std::string_view bytes) {
  std::string out = "\"";
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte > 0x7E) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

}  // namespace plodpak
