// The key-assignment editor's working copy of the macro list: macros are added, renamed,
// deleted and their steps edited here, and nothing reaches the macro list of the profile image
// until StoreWorkingList. The macro tab drives it; so does the command-line front end.
//
// Entries made since FillFrom carry isNew 1 until they are stored. The steps of the current
// macro are edited in its record directly, so there is no separate copy to save back.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/macro_record.h"

namespace tarnel {

class Prompter;
class KeyButtonPort;

inline constexpr const char* kMacroErrMaxKey = "MACRO_ERR_MAX";
inline constexpr const char* kMacroDeleteConfirmKey = "MACRO_DELETE_CONFIRM_OF_KEYS";
inline constexpr const char* kMacroClearConfirmKey = "MACRO_ACTION_CLEAR_CONFIRM";
inline constexpr const char* kMacroDelayMaxKey = "MACRO_ACTION_ERR_DELAY_MAX";
inline constexpr uint32_t kUnrecordedDelayMs = 50;  // a recorded step's delay with delays off
inline constexpr uint8_t kMaxRepeatCount = 255;

enum class StepMove { Top, Up, Down, Bottom };

class MacroWorkingList {
public:
    // `newPrefix`: the language text of MACRO_NEW_PREFIX, the start of generated names.
    MacroWorkingList(Prompter& prompter, std::u16string newPrefix);

    // A copy of `list` with isNew 0; the first entry becomes current (none when empty).
    void FillFrom(const MacroList& list);
    void Clear();

    const MacroList& entries() const { return m_entries; }
    int currentMacro() const { return m_current; }
    const MacroRecord* current() const;
    void SelectMacro(int index);     // out of range: nothing changes
    void SelectMacroById(int id);    // the entry with that id, else entry 0
    int indexOfId(int id) const;     // -1 when none

    // Appends a new empty macro with a generated name and a free id, and makes it current.
    // At 100 entries MACRO_ERR_MAX is shown and -1 returned.
    int AddMacro();
    // The current macro's name becomes `text` (cut to what a record holds); a text that is
    // empty or begins another macro's name, ignoring case, gives a generated name instead.
    // With no entry, a new macro of that name is made. The name stored is returned.
    std::u16string RenameCurrent(std::u16string_view text);
    // Removes the current macro. One that existed before FillFrom and is used by a KindMacro
    // record of `keyArea` is removed only after a Yes to MACRO_DELETE_CONFIRM_OF_KEYS.
    bool DeleteMacro(std::span<const uint8_t> keyArea);
    // The current macro's repeat count from the field's number, kept to 1..255; returned.
    int SetRepeatCount(long long n);

    // The selected step of the current macro, -1 when none.
    int selectedStep() const { return m_selectedStep; }
    void SelectStep(int row);
    bool DeleteStep();
    // Removes every step after a Yes to MACRO_ACTION_CLEAR_CONFIRM.
    bool ClearSteps();
    bool MoveStep(StepMove move);
    // A delay typed into a step: above 40000 ms MACRO_ACTION_ERR_DELAY_MAX is shown and 40000
    // used; then cut to tens. The delay stored, or -1 for no such row.
    long long SetStepDelay(int row, long long delayMs);
    bool SetStepKey(int row, uint16_t keyId);
    bool SetStepState(int row, uint16_t state);

    // Whether recorded steps keep their measured delays (else each gets 50 ms).
    void setRecordDelays(bool on) { m_recordDelays = on; }
    bool recordDelays() const { return m_recordDelays; }
    // A step from the recorder, `gapMs` after the previous event: inserted after the selected
    // step (or at the end) and selected. The gap is the wait after the step before it, so that
    // step takes it and the new one takes that step's old delay (a new first step gets 0).
    // Dropped at 4000 steps.
    bool AddRecordedStep(uint16_t keyId, uint16_t state, uint32_t gapMs);

    // Whether anything changed since FillFrom or the last store (the editor's Apply).
    bool changed() const { return m_changed; }

private:
    friend int StoreWorkingList(MacroWorkingList&, std::span<uint8_t>, std::vector<uint8_t>&,
                                uint16_t&, KeyButtonPort&);
    MacroRecord* currentRecord();
    bool nameTaken(std::u16string_view name, int except) const;
    std::u16string generatedName(int except);
    MacroRecord newRecord(std::u16string name) const;

    Prompter& m_prompter;
    std::u16string m_prefix;
    MacroList m_entries;
    int m_current = -1;
    int m_selectedStep = -1;
    int m_nameCounter = 0;
    bool m_recordDelays = false;
    bool m_changed = false;
};

// Stores the working list as the macro list (`macroBlocks`, `macroCount` of the profile image)
// and repairs the KindMacro records of `keyArea`: a record with macro id 0 takes the first
// macro; one whose macro is gone, or was made in this editing, returns to its factory function
// (KindDefault). Each repair calls SetApplyPending(1). When the new blocks cannot be made,
// nothing at all changes. The caller holds dataLock. 1 when stored, 0 when not.
int StoreWorkingList(MacroWorkingList& list, std::span<uint8_t> keyArea,
                     std::vector<uint8_t>& macroBlocks, uint16_t& macroCount,
                     KeyButtonPort& window);

}  // namespace tarnel
