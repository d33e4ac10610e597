// Checkout ids: the numbers under which the pre-render requests a layer image and the render
// fetches it again. Fixed ids for the current-time images; made ids for time-shifted ones.
#pragma once

#include <cstdint>
#include <string_view>

namespace plurion {

inline constexpr std::int32_t kEffectLayerCheckoutId = 0;
inline constexpr std::int32_t kMatteCheckoutId = 12345;

enum class CheckoutIdForm : bool { Plain = false, Joined = true };

// Plain form: the digits of b + 1, "98", the digits of a + 1. Joined form: the digits of a + 1,
// "98", the digits of b + 1, the digits of c + 1. The text is read back as a 32-bit integer
// (ParseCheckoutId), so it throws std::invalid_argument or std::out_of_range as that does.
std::int32_t MakeCheckoutId(std::int32_t a, std::int32_t b, std::int32_t c, CheckoutIdForm form);

// Reads an optional "-" and the digits that follow it, up to the first other character.
// Throws std::invalid_argument ("invalid stoi argument") when no digit starts the number and
// std::out_of_range ("stoi argument out of range") when it leaves the 32-bit range.
std::int32_t ParseCheckoutId(std::string_view text);

} // namespace plurion
