// Small named settings: the language choice under the tool's own key ("dwLanguageId"), and the
// framework store's "PROFILES" values ("Flip", the record-delay choice). The program puts the
// platform's settings behind this port; tests use MemorySettingsStore.
//
// A value is named by a section and a name; the empty section is the store's top level (where
// the tool's key keeps "dwLanguageId"). A store that could not be opened reads nothing and
// refuses every write.
#pragma once
#include <charconv>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tarnel {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual std::optional<std::string> readText(std::string_view section,
                                                std::string_view name) const = 0;
    virtual bool writeText(std::string_view section, std::string_view name,
                           std::string_view value) = 0;

    // A 32-bit number; nothing when the value is missing or is not such a number. The default
    // keeps numbers as decimal texts; a platform store may keep them natively instead.
    virtual std::optional<uint32_t> readNumber(std::string_view section, std::string_view name) const {
        const auto text = readText(section, name);
        if (!text || text->empty()) return std::nullopt;
        uint32_t value = 0;
        const char* end = text->data() + text->size();
        const auto r = std::from_chars(text->data(), end, value);
        if (r.ec != std::errc() || r.ptr != end) return std::nullopt;
        return value;
    }
    virtual bool writeNumber(std::string_view section, std::string_view name, uint32_t value) {
        return writeText(section, name, std::to_string(value));
    }
};

// Values kept in memory. `setOpen(false)` stands for a store that could not be opened.
class MemorySettingsStore : public SettingsStore {
public:
    std::optional<std::string> readText(std::string_view section,
                                        std::string_view name) const override {
        if (!m_open) return std::nullopt;
        const auto it = m_values.find({std::string(section), std::string(name)});
        if (it == m_values.end()) return std::nullopt;
        return it->second;
    }
    bool writeText(std::string_view section, std::string_view name, std::string_view value) override {
        if (!m_open) return false;
        m_values[{std::string(section), std::string(name)}] = std::string(value);
        ++m_writes;
        return true;
    }

    void setOpen(bool open) { m_open = open; }
    int writeCount() const { return m_writes; }

private:
    bool m_open = true;
    int m_writes = 0;
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};

}  // namespace tarnel
