#include "scene/json_reader.h"

#include "scene/scene.h"

#include <utility>
#include <vector>

namespace plurion::host {
namespace {

using nlohmann::json;

std::string EscapeToken(std::string_view token) {
    std::string escaped;
    for (const char c : token) {
        if (c == '~') {
            escaped.append("~0");
        } else if (c == '/') {
            escaped.append("~1");
        } else {
            escaped.push_back(c);
        }
    }
    return escaped;
}

// "line 3, column 14" of a byte offset, both counted from 1.
std::string LineAndColumn(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    std::size_t line = 1;
    std::size_t line_start = 0;
    for (std::size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n') {
            ++line;
            line_start = i + 1;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(offset - line_start + 1);
}

// The parser's own text without its "[json.exception.parse_error.101] parse error at line 1,
// column 2: " opening, which this reader says in its own words.
std::string ParserReason(const std::string& what) {
    std::string reason = what;
    if (reason.rfind("[json.exception.", 0) == 0) {
        reason.erase(0, reason.find(']') + 1);
        reason.erase(0, reason.find_first_not_of(' '));
    }
    if (const std::size_t at = reason.find(": ");
        reason.rfind("parse error", 0) == 0 && at != std::string::npos) {
        reason.erase(0, at + 2);
    }
    return reason;
}

// Builds the document from the parser's events, keeping the JSON pointer of the value being
// read for messages.
class StrictBuilder : public nlohmann::json_sax<json> {
  public:
    StrictBuilder(std::string_view text, const std::string& origin)
        : text_(text), origin_(origin) {}

    json take() { return std::move(root_); }

    bool null() override { return add(nullptr); }
    bool boolean(bool value) override { return add(value); }
    bool number_integer(number_integer_t value) override { return add(value); }
    bool number_unsigned(number_unsigned_t value) override { return add(value); }
    bool number_float(number_float_t value, const string_t&) override { return add(value); }
    bool string(string_t& value) override { return add(std::move(value)); }
    bool binary(binary_t& value) override { return add(json::binary(std::move(value))); }

    bool start_object(std::size_t) override { return open(json::object()); }
    bool start_array(std::size_t) override { return open(json::array()); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool key(string_t& name) override {
        Level& level = levels_.back();
        if (level.value->contains(name)) {
            std::string where = pointer();
            where.append("/").append(EscapeToken(name));
            fail(where, "the key \"" + name + "\" appears twice in one object");
        }
        level.key = std::move(name);
        return true;
    }

    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception& error) override {
        // The position is one past the offending token's last byte.
        const std::size_t offset = position > 0 ? position - 1 : 0;
        std::string reason =
            error.id == 406 ? "a number too large for a double" : ParserReason(error.what());
        fail(pointer_of_next(), reason + " (" + LineAndColumn(text_, offset) + ")");
    }

  private:
    struct Level {
        json* value;
        std::string key; // the key of the value being read, in an object
    };

    // The pointer of the innermost open object or array.
    std::string pointer() const { return path(levels_.size() - 1); }
    // The pointer of the value that comes next.
    std::string pointer_of_next() const { return path(levels_.size()); }
    std::string path(std::size_t levels) const {
        std::string out;
        for (std::size_t i = 0; i < levels; ++i) {
            const Level& level = levels_[i];
            out.push_back('/');
            if (level.value->is_object()) {
                out.append(EscapeToken(level.key));
            } else {
                // An open array's last item is the open value inside it; else the next one.
                const std::size_t items = level.value->size();
                out.append(std::to_string(i + 1 < levels_.size() ? items - 1 : items));
            }
        }
        return out;
    }

    [[noreturn]] void fail(const std::string& where, const std::string& reason) const {
        throw SceneError(origin_, where, reason);
    }

    json* place(json&& value) {
        if (levels_.empty()) {
            root_ = std::move(value);
            return &root_;
        }
        Level& level = levels_.back();
        if (level.value->is_object()) {
            return &((*level.value)[level.key] = std::move(value));
        }
        level.value->push_back(std::move(value));
        return &level.value->back();
    }

    bool add(json&& value) {
        place(std::move(value));
        return true;
    }

    bool open(json&& container) {
        if (static_cast<int>(levels_.size()) >= kMaxJsonDepth) {
            fail(pointer_of_next(),
                 "nested deeper than " + std::to_string(kMaxJsonDepth) + " levels");
        }
        levels_.push_back({place(std::move(container)), {}});
        return true;
    }

    bool close() {
        levels_.pop_back();
        return true;
    }

    std::string_view text_;
    const std::string& origin_;
    json root_;
    std::vector<Level> levels_;
};

} // namespace

json ReadJsonText(std::string_view text, const std::string& origin) {
    StrictBuilder builder(text, origin);
    json::sax_parse(text.begin(), text.end(), &builder);
    return builder.take();
}

} // namespace plurion::host
