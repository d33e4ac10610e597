// Strict reading of a scene file's JSON: every accessor checks the type (and range where asked),
// and every failure throws SceneError with the file and the JSON pointer of the offending value
// ("/effect/Linear Mode~1Count").
#pragma once

#include "scene/scene.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plurion::host {

// Shortest text that reads back as the number: 10000, 0.1, -90.
std::string FormatNumber(double value);

class JsonNode {
  public:
    JsonNode(const nlohmann::json& value, std::string file, std::string pointer = "");

    [[noreturn]] void Fail(const std::string& reason) const;
    const nlohmann::json& json() const { return *value_; }
    const std::string& file() const { return file_; }
    const std::string& pointer() const { return pointer_; }
    // The value as it stands in the file, for messages.
    std::string Text() const;

    // Objects: checks the type and that every key is one of `allowed`.
    void ExpectObject(std::initializer_list<std::string_view> allowed) const;
    bool IsObject() const { return value_->is_object(); }
    bool Has(std::string_view key) const;
    JsonNode Required(std::string_view key) const;
    std::optional<JsonNode> Optional(std::string_view key) const;
    // Members in key order (the parser keeps objects sorted).
    std::vector<std::pair<std::string, JsonNode>> Members() const;

    // Arrays: checks the type and, when given, the size range.
    std::vector<JsonNode> Items(std::size_t min_size = 0, std::size_t max_size = SIZE_MAX) const;

    bool IsNull() const { return value_->is_null(); }
    bool IsString() const { return value_->is_string(); }
    bool IsNumber() const { return value_->is_number(); }
    bool Boolean() const;
    std::string String() const;
    std::string NonEmptyString() const;
    double Number() const;                       // any finite number
    double Number(double min, double max) const; // inclusive range
    int Integer() const;                         // a number with no fraction, in int range
    int Integer(int min, int max) const;
    Vec2 Point() const;   // [x, y]
    Color Colour() const; // [r, g, b, a] or [r, g, b] (alpha 1), each in 0..1

  private:
    JsonNode Child(const std::string& key, const nlohmann::json& value) const;

    const nlohmann::json* value_;
    std::string file_;
    std::string pointer_;
};

// Typed defaults for optional members.
double NumberOr(const JsonNode& object, std::string_view key, double fallback);
int IntegerOr(const JsonNode& object, std::string_view key, int fallback);
bool BooleanOr(const JsonNode& object, std::string_view key, bool fallback);
Vec2 PointOr(const JsonNode& object, std::string_view key, Vec2 fallback);
Color ColourOr(const JsonNode& object, std::string_view key, Color fallback);

} // namespace plurion::host
