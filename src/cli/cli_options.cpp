#include "cli/cli_options.h"

#include <charconv>

namespace tarnel {
namespace {

// Splits "--name=value" into name and value; `hasValue` tells "--name=" from "--name".
void splitOption(const std::string& word, std::string& name, std::string& value, bool& hasValue) {
    size_t eq = word.find('=');
    hasValue = eq != std::string::npos;
    name = hasValue ? word.substr(0, eq) : word;
    value = hasValue ? word.substr(eq + 1) : std::string();
}

const KeyboardModel* modelOfName(const std::string& text) {
    if (text == "a" || text == "A") return &kModelA;
    if (text == "b" || text == "B") return &kModelB;
    return nullptr;
}

class Parser {
public:
    explicit Parser(const std::vector<std::string>& args) : m_args(args) {}

    ParsedCommandLine run() {
        bool optionsEnded = false;
        for (m_index = 1; m_index < m_args.size() && m_result.error.empty(); ++m_index) {
            const std::string& word = m_args[m_index];
            if (!optionsEnded && word == "--") {
                optionsEnded = true;
            } else if (!optionsEnded && word.size() > 1 && word[0] == '-') {
                option(word);
            } else if (m_result.options.command.empty()) {
                m_result.options.command = word;
            } else {
                m_result.options.args.push_back(word);
            }
        }
        return m_result;
    }

private:
    void option(const std::string& word) {
        std::string name, value;
        bool hasValue = false;
        splitOption(word, name, value, hasValue);
        CliOptions& o = m_result.options;
        if (name == "--simulate") {
            o.simulate = true;
            if (hasValue && value.empty()) return fail("--simulate=: the state file name is empty");
            o.statePath = value;
        } else if (name == "--model") {
            if (!takeValue(name, hasValue, value)) return;
            o.model = modelOfName(value);
            if (!o.model) return fail("--model: unknown model '" + value + "' (a or b)");
        } else if (name == "--profile") {
            if (!takeValue(name, hasValue, value)) return;
            o.profile = ParseIntInRange(value, 0, 2);
            if (!o.profile) return fail("--profile: '" + value + "' is no profile (0, 1 or 2)");
        } else if (!hasValue && (name == "--trace" || name == "--json")) {
            (name == "--trace" ? o.trace : o.json) = true;
        } else if (!hasValue && (name == "--help" || name == "-h")) {
            o.help = true;
        } else {
            fail("unknown option '" + word + "'");
        }
    }

    // The value of "--name=value" or of "--name value".
    bool takeValue(const std::string& name, bool hasValue, std::string& value) {
        if (hasValue) return true;
        if (m_index + 1 >= m_args.size()) {
            fail(name + ": a value is missing");
            return false;
        }
        value = m_args[++m_index];
        return true;
    }

    void fail(const std::string& message) { m_result.error = message; }

    const std::vector<std::string>& m_args;
    size_t m_index = 1;
    ParsedCommandLine m_result;
};

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    return Parser(args).run();
}

std::optional<int> ParseIntInRange(const std::string& text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || text[0] == '+') return std::nullopt;
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace tarnel
