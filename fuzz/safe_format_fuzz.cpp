// Language texts with placeholders, filled with arguments: byte 0 gives the number of
// arguments (0-3), each argument is a length-prefixed piece, the rest is the text. The output
// holds every literal character of the text and never grows beyond the text, the arguments and
// the widths the placeholders ask for.
#include <string>
#include <vector>

#include "common/safe_format.h"
#include "fuzz_target.h"

using namespace tarnel;

TARNEL_FUZZ_TARGET(safe_format) {
    fuzz::Input in(data, size);
    std::vector<std::string> args(in.byte() % 4);
    size_t argBytes = 0;
    for (std::string& a : args) {
        a = in.text(40);
        argBytes += a.size() + 24;  // a number may print longer than its text (hex of a negative)
    }
    const std::string text = in.restText();
    const std::string out = SafeFormat(text, args);

    size_t percents = 0;
    for (char c : text) percents += c == '%';
    // Widths stop at four digits: each placeholder pads to at most 10000 characters.
    FUZZ_CHECK(out.size() <= text.size() + argBytes + args.size() * 10000);
    if (percents == 0) FUZZ_CHECK(out == text);
    (void)SafeFormatNumber(text, -1234567890123LL);
    return 0;
}
