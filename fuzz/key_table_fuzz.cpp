// One profile's key table as read from the keyboard, against a factory table that is untrusted
// too: bytes 0-1 choose the model and the bank, then the factory table, then the table. The
// decoded bank encodes to a table of the model's size; decoding that gives the bank back when
// no two factory positions name the same key (else the positions share one record).
#include <set>
#include <vector>

#include "fuzz_target.h"
#include "model/key_action.h"

using namespace tarnel;

TARNEL_FUZZ_TARGET(key_table) {
    fuzz::Input in(data, size);
    const KeyboardModel& model = in.flag() ? kModelB : kModelA;
    const int bank = in.byte() % kKeyBanks;
    const auto factory = in.bytes(size_t(model.keyTableSize));
    const auto table = in.rest();

    std::vector<uint8_t> area(kKeyAreaSize, 0);
    FUZZ_CHECK(DecodeKeyTable(area, bank, table, factory, model.keyCount));
    for (int slot = 0; slot < kBankSlots; ++slot) {
        const KeyAction a = ReadKeyAction(area, RecordOf(bank, slot));
        (void)DescribeKeyAction("Key", a, {}, {});
    }
    if (bank == 3) return 0;  // bank 3 is carried, never sent

    const auto encoded = EncodeKeyTable(area, bank, factory, model, {});
    if (factory.size() < size_t(model.keyTableSize)) {
        FUZZ_CHECK(encoded.empty());
        return 0;
    }
    FUZZ_CHECK(encoded.size() == size_t(model.keyTableSize));

    std::set<int> slots;
    bool distinct = true;
    for (int k = 0; k < model.keyCount; ++k) {
        const int slot = SlotOfKey(KeyIdOfCode(DeviceKeyCode::at(factory, k)));
        if (slot != 0 && !slots.insert(slot).second) distinct = false;
    }
    std::vector<uint8_t> again(kKeyAreaSize, 0);
    FUZZ_CHECK(DecodeKeyTable(again, bank, encoded, factory, model.keyCount));
    if (distinct) {
        // The decoded form is a normal form: it encodes and decodes to itself.
        const auto reencoded = EncodeKeyTable(again, bank, factory, model, {});
        FUZZ_CHECK(reencoded == encoded);
    }
    return 0;
}
