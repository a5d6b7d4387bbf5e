#include "model/macro_working_list.h"

#include <algorithm>
#include <new>
#include <string>
#include <utility>

#include "common/prompter.h"
#include "model/key_action.h"
#include "model/key_button_port.h"
#include "model/macro_area.h"

namespace tarnel {
namespace {

// Case folding for names: ASCII and Latin-1 letters, which is what generated names and
// typical macro names use.
char16_t fold(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return char16_t(c + 32);
    return c;
}

bool beginsWithIgnoringCase(std::u16string_view text, std::u16string_view start) {
    if (start.size() > text.size()) return false;
    for (size_t i = 0; i < start.size(); ++i)
        if (fold(text[i]) != fold(start[i])) return false;
    return true;
}

std::u16string decimal(int n) {
    std::u16string out;
    for (char c : std::to_string(n)) out.push_back(char16_t(c));
    return out;
}

// A name as the record can hold it: up to the first zero unit, at most 249 units.
std::u16string storable(std::u16string_view text) {
    text = text.substr(0, std::min(text.find(u'\0'), kMaxMacroNameUnits));
    return std::u16string(text);
}

bool usedByKeys(std::span<const uint8_t> keyArea, uint16_t macroId) {
    const int records = int(std::min(keyArea.size() / kKeyActionSize, size_t(kKeyAreaRecords)));
    for (int r = 0; r < records; ++r) {
        KeyAction a = ReadKeyAction(keyArea, r);
        if (a.kind == KindMacro && a.value == macroId) return true;
    }
    return false;
}

}  // namespace

MacroWorkingList::MacroWorkingList(Prompter& prompter, std::u16string newPrefix)
    : m_prompter(prompter), m_prefix(std::move(newPrefix)) {}

void MacroWorkingList::FillFrom(const MacroList& list) {
    m_entries = list;
    for (MacroRecord& r : m_entries) r.isNew = 0;
    m_current = m_entries.empty() ? -1 : 0;
    m_selectedStep = -1;
    m_nameCounter = 0;
    m_changed = false;
}

void MacroWorkingList::Clear() {
    m_entries.clear();
    m_current = -1;
    m_selectedStep = -1;
}

const MacroRecord* MacroWorkingList::current() const {
    return m_current >= 0 && size_t(m_current) < m_entries.size() ? &m_entries[size_t(m_current)]
                                                                   : nullptr;
}

MacroRecord* MacroWorkingList::currentRecord() {
    return const_cast<MacroRecord*>(std::as_const(*this).current());
}

void MacroWorkingList::SelectMacro(int index) {
    if (index < 0 || size_t(index) >= m_entries.size()) return;
    m_current = index;
    m_selectedStep = -1;
}

int MacroWorkingList::indexOfId(int id) const {
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].macroId == id) return int(i);
    return -1;
}

void MacroWorkingList::SelectMacroById(int id) { SelectMacro(std::max(indexOfId(id), 0)); }

bool MacroWorkingList::nameTaken(std::u16string_view name, int except) const {
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (int(i) != except && beginsWithIgnoringCase(StoredMacroName(m_entries[i]), name))
            return true;
    return false;
}

// The prefix and the next number whose name begins no other entry's name, so "Macro 1" counts
// as taken while "Macro 10" exists. (The windows' editor pauses 16 ms between tries, a
// nicety of its platform with no effect on the name found; it is left out here.)
std::u16string MacroWorkingList::generatedName(int except) {
    for (;;) {
        std::u16string name = storable(m_prefix + decimal(++m_nameCounter));
        if (!nameTaken(name, except)) return name;
    }
}

MacroRecord MacroWorkingList::newRecord(std::u16string name) const {
    MacroRecord r;
    r.name = std::move(name);
    r.repeatCount = 1;
    r.isNew = 1;
    r.macroId = uint16_t(FreeMacroId(m_entries));
    return r;
}

int MacroWorkingList::AddMacro() {
    if (m_entries.size() >= size_t(kMaxMacros)) {
        m_prompter.ask(kMacroErrMaxKey, PromptButtons::Ok, PromptIcon::Warning,
                       {std::to_string(kMaxMacros)});
        return -1;
    }
    if (m_entries.empty()) m_nameCounter = 0;
    MacroRecord r = newRecord(generatedName(-1));
    m_entries.push_back(std::move(r));
    m_current = int(m_entries.size()) - 1;
    m_selectedStep = -1;
    m_changed = true;
    return m_current;
}

std::u16string MacroWorkingList::RenameCurrent(std::u16string_view text) {
    std::u16string t = storable(text);
    m_changed = true;
    if (m_entries.empty()) {
        if (t.empty()) t = generatedName(-1);
        m_entries.insert(m_entries.begin(), newRecord(t));
        m_current = 0;
        m_selectedStep = -1;
        return t;
    }
    // A generated name is itself checked against the other names, so two macros never end up
    // with the same name.
    if (t.empty() || nameTaken(t, m_current)) t = generatedName(m_current);
    currentRecord()->name = t;
    return t;
}

bool MacroWorkingList::DeleteMacro(std::span<const uint8_t> keyArea) {
    const MacroRecord* r = current();
    if (!r) return false;
    if (!r->isNew && usedByKeys(keyArea, r->macroId) &&
        m_prompter.ask(kMacroDeleteConfirmKey, PromptButtons::YesNo, PromptIcon::Question) !=
            PromptAnswer::Yes)
        return false;
    m_entries.erase(m_entries.begin() + m_current);
    m_current = m_entries.empty() ? -1 : std::max(m_current - 1, 0);
    m_selectedStep = -1;
    m_changed = true;
    return true;
}

int MacroWorkingList::SetRepeatCount(long long n) {
    const int count = int(std::clamp<long long>(n, 1, kMaxRepeatCount));
    if (MacroRecord* r = currentRecord()) {
        r->repeatCount = uint8_t(count);
        m_changed = true;
    }
    return count;
}

void MacroWorkingList::SelectStep(int row) {
    const MacroRecord* r = current();
    m_selectedStep = r && row >= 0 && size_t(row) < r->actions.size() ? row : -1;
}

bool MacroWorkingList::DeleteStep() {
    MacroRecord* r = currentRecord();
    if (!r || m_selectedStep < 0 || size_t(m_selectedStep) >= r->actions.size()) return false;
    r->actions.erase(r->actions.begin() + m_selectedStep);
    m_selectedStep = std::min(m_selectedStep, int(r->actions.size()) - 1);
    m_changed = true;
    return true;
}

bool MacroWorkingList::ClearSteps() {
    MacroRecord* r = currentRecord();
    if (!r || r->actions.empty()) return false;
    if (m_prompter.ask(kMacroClearConfirmKey, PromptButtons::YesNo, PromptIcon::Question) !=
        PromptAnswer::Yes)
        return false;
    r->actions.clear();
    m_selectedStep = -1;
    m_changed = true;
    return true;
}

bool MacroWorkingList::MoveStep(StepMove move) {
    MacroRecord* r = currentRecord();
    if (!r || m_selectedStep < 0 || size_t(m_selectedStep) >= r->actions.size()) return false;
    const int last = int(r->actions.size()) - 1;
    int to = m_selectedStep;
    switch (move) {
        case StepMove::Top: to = 0; break;
        case StepMove::Up: to = std::max(to - 1, 0); break;
        case StepMove::Down: to = std::min(to + 1, last); break;
        case StepMove::Bottom: to = last; break;
    }
    auto from = r->actions.begin() + m_selectedStep;
    auto dest = r->actions.begin() + to;
    if (to < m_selectedStep) std::rotate(dest, from, from + 1);
    else std::rotate(from, from + 1, dest + 1);
    m_selectedStep = to;
    m_changed = true;
    return true;
}

long long MacroWorkingList::SetStepDelay(int row, long long delayMs) {
    MacroRecord* r = currentRecord();
    if (!r || row < 0 || size_t(row) >= r->actions.size()) return -1;
    long long d = std::max(delayMs, 0LL);
    if (d > kMaxEditorDelayMs) {
        m_prompter.ask(kMacroDelayMaxKey, PromptButtons::Ok, PromptIcon::Warning,
                       {std::to_string(kMaxEditorDelayMs)});
        d = kMaxEditorDelayMs;
    }
    d = d / 10 * 10;
    if (r->actions[size_t(row)].delayMs != uint32_t(d)) m_changed = true;
    r->actions[size_t(row)].delayMs = uint32_t(d);
    return d;
}

bool MacroWorkingList::SetStepKey(int row, uint16_t keyId) {
    MacroRecord* r = currentRecord();
    if (!r || row < 0 || size_t(row) >= r->actions.size() || keyId == 0) return false;
    r->actions[size_t(row)].keyId = keyId;
    m_changed = true;
    return true;
}

bool MacroWorkingList::SetStepState(int row, uint16_t state) {
    MacroRecord* r = currentRecord();
    if (!r || row < 0 || size_t(row) >= r->actions.size() || state > MacroRelease) return false;
    r->actions[size_t(row)].state = state;
    m_changed = true;
    return true;
}

bool MacroWorkingList::AddRecordedStep(uint16_t keyId, uint16_t state, uint32_t gapMs) {
    MacroRecord* r = currentRecord();
    if (!r || r->actions.size() >= size_t(kMaxMacroActions)) return false;
    // A pause longer than a step can hold would wrap in the keyboard's 12-bit timing field and
    // play as a much shorter one; it is kept at the editor's longest delay instead.
    const uint32_t gap = m_recordDelays ? std::min(gapMs, kMaxEditorDelayMs) : kUnrecordedDelayMs;
    const size_t pos = m_selectedStep >= 0 ? size_t(m_selectedStep) + 1 : r->actions.size();
    MacroAction step{0, keyId, state > MacroRelease ? uint16_t(MacroRelease) : state};
    if (pos > 0) {
        step.delayMs = r->actions[pos - 1].delayMs;
        r->actions[pos - 1].delayMs = gap;
    }
    r->actions.insert(r->actions.begin() + std::ptrdiff_t(pos), step);
    m_selectedStep = int(pos);
    m_changed = true;
    return true;
}

int StoreWorkingList(MacroWorkingList& list, std::span<uint8_t> keyArea,
                     std::vector<uint8_t>& macroBlocks, uint16_t& macroCount,
                     KeyButtonPort& window) {
    // The new blocks are made first: when they cannot be, neither the macro list nor a key
    // record changes, so keys are never turned back for macros that are still stored.
    std::vector<uint8_t> blocks;
    MacroList stored;
    try {
        stored = list.m_entries;
        for (MacroRecord& r : stored) r.isNew = 0;
        blocks = MacroBlocksOf(stored);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    const MacroList& entries = list.m_entries;
    const int records = int(std::min(keyArea.size() / kKeyActionSize, size_t(kKeyAreaRecords)));
    for (int rec = 0; rec < records; ++rec) {
        KeyAction a = ReadKeyAction(keyArea, rec);
        if (a.kind != KindMacro) continue;
        const int index = a.value ? list.indexOfId(int(a.value)) : -1;
        if (a.value == 0 && !entries.empty()) {
            a.value = entries.front().macroId;
        } else if (index >= 0 && !entries[size_t(index)].isNew) {
            continue;
        } else {
            // Its macro is gone, or the id now belongs to a macro made in this editing. A key
            // with id 0 and no macro left at all would play a macro that does not exist.
            a.kind = KindDefault;
        }
        WriteKeyAction(keyArea, rec, a);
        window.SetApplyPending(1);
    }
    for (MacroRecord& r : list.m_entries) r.isNew = 0;
    macroBlocks.swap(blocks);
    macroCount = uint16_t(stored.size());
    list.m_changed = false;
    return 1;
}

}  // namespace tarnel
