// Profile and cache files (.zkp) as any program or disk could leave them: the fuzzer's bytes are
// the file. A file that validates and loads saves to a file that validates too, and loading and
// saving that again gives the same bytes.
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_target.h"
#include "storage/profile_file.h"

using namespace tarnel;

namespace {

const std::string& scratchDir() {
    static const std::string dir = [] {
        std::string d = "/tmp/tarnel-fuzz-profile-XXXXXX";
        if (!mkdtemp(d.data())) std::abort();
        return d;
    }();
    return dir;
}

std::vector<uint8_t> readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TARNEL_FUZZ_TARGET(profile_file) {
    const std::string input = scratchDir() + "/input.zkp";
    const std::string first = scratchDir() + "/first.zkp";
    const std::string second = scratchDir() + "/second.zkp";
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    const int valid = ValidateFile(input, nullptr);
    std::optional<ProfileImage> image = LoadFile(input);
    if (valid != ValidateOk || !image) return 0;
    FUZZ_CHECK(image->image.size() == kProfileImageSize);
    FUZZ_CHECK(image->macroBlocks.size() == size_t(image->macroCount) * kMacroRecordSize);

    FUZZ_CHECK(SaveFile(first, *image));
    FUZZ_CHECK(ValidateFile(first, nullptr) == ValidateOk);
    std::optional<ProfileImage> again = LoadFile(first);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(SaveFile(second, *again));
    FUZZ_CHECK(readAll(first) == readAll(second));
    return 0;
}
