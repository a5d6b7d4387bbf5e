// Substitutes placeholders in texts that come from files (language files above all). A text is
// never handed to printf as a format: a stray "%n" or a "%s" without an argument is harmless here.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tarnel {

// Each placeholder (%s, %d, %u, %i, %x, %X, %c, with optional flags/width such as %02d or %04X,
// and %ls / %S for wide strings) takes the next argument, already turned into text by the caller;
// integer conversions of a numeric argument honour width, zero padding and hexadecimal case.
// "%%" gives "%". A placeholder without an argument is left as it stands; an unknown conversion
// is copied literally; extra arguments are ignored.
std::string SafeFormat(std::string_view text, const std::vector<std::string>& args);

// Convenience for a single number argument formatted by the placeholder's own conversion.
std::string SafeFormatNumber(std::string_view text, long long value);

}  // namespace tarnel
