#include "layout/checkout_id.h"

#include <charconv>
#include <stdexcept>
#include <string>
#include <system_error>

namespace plurion {

std::int32_t ParseCheckoutId(std::string_view text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::invalid_argument) {
        throw std::invalid_argument("invalid stoi argument");
    }
    if (error == std::errc::result_out_of_range) {
        throw std::out_of_range("stoi argument out of range");
    }
    return value;
}

std::int32_t MakeCheckoutId(std::int32_t a, std::int32_t b, std::int32_t c, CheckoutIdForm form) {
    // The "+ 1" is taken in 64 bits so that the largest argument still makes a number.
    const auto digits = [](std::int32_t value) {
        return std::to_string(static_cast<std::int64_t>(value) + 1);
    };
    const std::string text = form == CheckoutIdForm::Plain
                                 ? digits(b) + "98" + digits(a)
                                 : digits(a) + "98" + digits(b) + digits(c);
    return ParseCheckoutId(text);
}

} // namespace plurion
