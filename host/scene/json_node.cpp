#include "scene/json_node.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace plurion::host {
namespace {

// JSON pointer escaping: "~" becomes "~0" and "/" becomes "~1".
std::string EscapePointerToken(std::string_view token) {
    std::string escaped;
    for (const char c : token) {
        if (c == '~') {
            escaped += "~0";
        } else if (c == '/') {
            escaped += "~1";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string JoinKeys(std::initializer_list<std::string_view> keys) {
    std::string joined;
    for (const std::string_view key : keys) {
        joined += joined.empty() ? "" : ", ";
        joined += key;
    }
    return joined;
}

// A cut string may end inside a UTF-8 sequence; such bytes show as U+FFFD.
constexpr auto kReplace = nlohmann::json::error_handler_t::replace;

// Writes the value as JSON text until `text` is longer than `limit`, then stops: a message
// never needs the whole of a large or deep value.
void AppendPreview(const nlohmann::json& value, std::size_t limit, std::string& text) {
    if (text.size() > limit) {
        return;
    }
    if (value.is_string()) {
        const auto& whole = value.get_ref<const std::string&>();
        text += nlohmann::json(whole.substr(0, limit + 1)).dump(-1, ' ', false, kReplace);
    } else if (value.is_array()) {
        text += '[';
        for (std::size_t i = 0; i < value.size() && text.size() <= limit; ++i) {
            text += i == 0 ? "" : ",";
            AppendPreview(value[i], limit, text);
        }
        text += ']';
    } else if (value.is_object()) {
        text += '{';
        bool first = true;
        for (auto it = value.begin(); it != value.end() && text.size() <= limit; ++it) {
            text += first ? "" : ",";
            first = false;
            text +=
                nlohmann::json(it.key().substr(0, limit + 1)).dump(-1, ' ', false, kReplace) + ":";
            AppendPreview(it.value(), limit, text);
        }
        text += '}';
    } else {
        text += value.dump(-1, ' ', false, kReplace);
    }
}

} // namespace

std::string FormatNumber(double value) {
    char text[32];
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        std::snprintf(text, sizeof text, "%.0f", value);
        return text;
    }
    for (int digits = 6; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value) {
            break;
        }
    }
    return text;
}

JsonNode::JsonNode(const nlohmann::json& value, std::string file, std::string pointer)
    : value_(&value), file_(std::move(file)), pointer_(std::move(pointer)) {}

void JsonNode::Fail(const std::string& reason) const {
    throw SceneError(file_, pointer_, reason);
}

std::string JsonNode::Text() const {
    constexpr std::size_t kLongest = 60;
    std::string text;
    AppendPreview(*value_, kLongest, text);
    if (text.size() > kLongest) {
        // Cut on a character boundary, not inside a UTF-8 sequence.
        std::size_t cut = kLongest;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        text = text.substr(0, cut) + "...";
    }
    return text;
}

JsonNode JsonNode::Child(const std::string& key, const nlohmann::json& value) const {
    return JsonNode(value, file_, pointer_ + "/" + EscapePointerToken(key));
}

void JsonNode::ExpectObject(std::initializer_list<std::string_view> allowed) const {
    if (!value_->is_object()) {
        Fail(std::string("expected an object, found ") + value_->type_name());
    }
    for (const auto& [key, value] : value_->items()) {
        bool known = false;
        for (const std::string_view name : allowed) {
            known = known || key == name;
        }
        if (!known) {
            Child(key, value)
                .Fail("unknown key \"" + key + "\" (expected one of: " + JoinKeys(allowed) + ")");
        }
    }
}

bool JsonNode::Has(std::string_view key) const {
    return value_->is_object() && value_->contains(key);
}

JsonNode JsonNode::Required(std::string_view key) const {
    if (!value_->is_object()) {
        Fail(std::string("expected an object, found ") + value_->type_name());
    }
    const auto found = value_->find(key);
    if (found == value_->end()) {
        Fail("missing key \"" + std::string(key) + "\"");
    }
    return Child(std::string(key), *found);
}

std::optional<JsonNode> JsonNode::Optional(std::string_view key) const {
    if (!Has(key)) {
        return std::nullopt;
    }
    return Required(key);
}

std::vector<std::pair<std::string, JsonNode>> JsonNode::Members() const {
    if (!value_->is_object()) {
        Fail(std::string("expected an object, found ") + value_->type_name());
    }
    std::vector<std::pair<std::string, JsonNode>> members;
    for (const auto& [key, value] : value_->items()) {
        members.emplace_back(key, Child(key, value));
    }
    return members;
}

std::vector<JsonNode> JsonNode::Items(std::size_t min_size, std::size_t max_size) const {
    if (!value_->is_array()) {
        Fail(std::string("expected an array, found ") + value_->type_name());
    }
    const std::size_t size = value_->size();
    if (size < min_size || size > max_size) {
        const std::string wanted =
            min_size == max_size   ? std::to_string(min_size)
            : max_size == SIZE_MAX ? "at least " + std::to_string(min_size)
                                   : std::to_string(min_size) + " to " + std::to_string(max_size);
        Fail("expected an array of " + wanted + " items, found " + std::to_string(size));
    }
    std::vector<JsonNode> items;
    for (std::size_t i = 0; i < size; ++i) {
        items.push_back(Child(std::to_string(i), (*value_)[i]));
    }
    return items;
}

bool JsonNode::Boolean() const {
    if (!value_->is_boolean()) {
        Fail("expected true or false, found " + Text());
    }
    return value_->get<bool>();
}

std::string JsonNode::String() const {
    if (!value_->is_string()) {
        Fail("expected a string, found " + Text());
    }
    return value_->get<std::string>();
}

std::string JsonNode::NonEmptyString() const {
    std::string text = String();
    if (text.empty()) {
        Fail("expected a non-empty string");
    }
    return text;
}

double JsonNode::Number() const {
    if (!value_->is_number()) {
        Fail("expected a number, found " + Text());
    }
    const double number = value_->get<double>();
    if (!std::isfinite(number)) {
        Fail(Text() + " is not a finite number");
    }
    return number;
}

double JsonNode::Number(double min, double max) const {
    const double number = Number();
    if (number < min) {
        Fail(Text() + " is below the minimum " + FormatNumber(min));
    }
    if (number > max) {
        Fail(Text() + " is above the maximum " + FormatNumber(max));
    }
    return number;
}

int JsonNode::Integer() const {
    const double number = Number();
    if (number != std::trunc(number)) {
        Fail("expected an integer, found " + Text());
    }
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
        Fail(Text() + " is out of the integer range");
    }
    return static_cast<int>(number);
}

int JsonNode::Integer(int min, int max) const {
    const int number = Integer();
    if (number < min) {
        Fail(Text() + " is below the minimum " + std::to_string(min));
    }
    if (number > max) {
        Fail(Text() + " is above the maximum " + std::to_string(max));
    }
    return number;
}

Vec2 JsonNode::Point() const {
    const auto items = Items(2, 2);
    return Vec2{items[0].Number(), items[1].Number()};
}

Color JsonNode::Colour() const {
    const auto items = Items(3, 4);
    Color colour{0.0f, 0.0f, 0.0f, 1.0f};
    for (std::size_t c = 0; c < items.size(); ++c) {
        colour[c] = static_cast<float>(items[c].Number(0.0, 1.0));
    }
    return colour;
}

double NumberOr(const JsonNode& object, std::string_view key, double fallback) {
    const auto node = object.Optional(key);
    return node ? node->Number() : fallback;
}

int IntegerOr(const JsonNode& object, std::string_view key, int fallback) {
    const auto node = object.Optional(key);
    return node ? node->Integer() : fallback;
}

bool BooleanOr(const JsonNode& object, std::string_view key, bool fallback) {
    const auto node = object.Optional(key);
    return node ? node->Boolean() : fallback;
}

Vec2 PointOr(const JsonNode& object, std::string_view key, Vec2 fallback) {
    const auto node = object.Optional(key);
    return node ? node->Point() : fallback;
}

Color ColourOr(const JsonNode& object, std::string_view key, Color fallback) {
    const auto node = object.Optional(key);
    return node ? node->Colour() : fallback;
}

} // namespace plurion::host
