#include "entry/pipl.h"

#include "entry/identity.h"

#include <cstring>
#include <string_view>

namespace plurion {
namespace {

constexpr std::uint32_t FourCC(const char (&code)[5]) {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[3]));
}

// Writes the little-endian PiPL layout: a header, then properties whose data is padded with
// zero bytes to a multiple of 4.
class PiplWriter {
  public:
    PiplWriter() {
        put16(1);
        put32(0);
        count_at_ = bytes_.size();
        put32(0);
    }

    void u32(const char (&key)[5], std::uint32_t value) {
        begin(key, 4);
        put32(value);
    }
    void u16(const char (&key)[5], std::uint16_t value) {
        begin(key, 2); // the length counts the value only, not its padding
        put16(value);
        pad();
    }
    // A version pair: two 16-bit integers, major first.
    void pair(const char (&key)[5], std::uint16_t major, std::uint16_t minor) {
        begin(key, 4);
        put16(major);
        put16(minor);
    }
    // A Pascal string: a length byte then the characters; its length counts the padding.
    void pascal(const char (&key)[5], std::string_view text) {
        const std::size_t size = Padded(1 + text.size());
        begin(key, static_cast<std::uint32_t>(size));
        bytes_.push_back(static_cast<std::uint8_t>(text.size()));
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        pad();
    }
    // A NUL-terminated string, as the code-entry property holds it.
    void cstring(const char (&key)[5], std::string_view text) {
        const std::size_t size = Padded(text.size() + 1);
        begin(key, static_cast<std::uint32_t>(size));
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        bytes_.push_back(0);
        pad();
    }

    std::vector<std::uint8_t> finish() {
        for (int i = 0; i < 4; ++i) {
            bytes_[count_at_ + i] = static_cast<std::uint8_t>(count_ >> (8 * i));
        }
        return std::move(bytes_);
    }

  private:
    static std::size_t Padded(std::size_t size) { return (size + 3) & ~std::size_t{3}; }

    void begin(const char (&key)[5], std::uint32_t length) {
        put32(FourCC("8BIM"));
        put32(FourCC(key));
        put32(0);
        put32(length);
        data_start_ = bytes_.size();
        ++count_;
    }
    void put16(std::uint16_t value) {
        bytes_.push_back(static_cast<std::uint8_t>(value));
        bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void put32(std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    }
    void pad() {
        while ((bytes_.size() - data_start_) % 4 != 0) {
            bytes_.push_back(0);
        }
    }

    std::vector<std::uint8_t> bytes_;
    std::size_t count_at_ = 0;
    std::size_t data_start_ = 0;
    std::uint32_t count_ = 0;
};

} // namespace

std::vector<std::uint8_t> BuildPiplResource() {
    PiplWriter pipl;
    pipl.u32("kind", kEffectKind);
    pipl.pascal("name", kEffectName);
    pipl.pascal("catg", kCategory);
    pipl.cstring("8664", kEntryPointName);
    pipl.pair("ePVR", 2, 0);
    pipl.pair("eSVR", static_cast<std::uint16_t>(kApiVersion),
              static_cast<std::uint16_t>(kApiSubversion));
    pipl.u32("eVER", kEffectVersion);
    pipl.u16("eINF", 0);
    pipl.u32("eGLO", kGlobalOutFlags);
    pipl.u32("eGL2", kGlobalOutFlags2);
    pipl.pascal("eMNA", kMatchName);
    pipl.u32("aeFL", 0);
    pipl.pascal("eURL", kSupportUrl);
    return pipl.finish();
}

} // namespace plurion
