// The table of commands with their help texts.
#include <algorithm>

#include "cli/cli_command.h"

namespace tarnel {
namespace {

const CommandSpec kCommands[] = {
    {"list", "list", "the supported keyboards found: model and the path of each interface",
     "Lists every interface of a supported keyboard with its model, ids and role.\n"
     "Exits 3 when no keyboard's command interface can be opened.\n",
     RunList},
    {"info", "info", "model, ids, firmware, active profile, macro capacity, effects",
     "Reads the keyboard's information block.\n"
     "--json keys: model, vendorId, productId, firmware, activeProfile, macroCapacity,\n"
     "effects, userModeSupported, path.\n",
     RunInfo},
    {"profile", "profile [N]", "show the active onboard profile, or make N (0-2) active",
     "Without N: the keyboard's active onboard profile. With N (0, 1 or 2): makes it active.\n",
     RunProfile},
    {"lighting", "lighting [set FIELD=VALUE... | default]",
     "the profile's lighting record; set fields; write the default lighting",
     "lighting              shows the lighting record of the profile (--profile N, else the\n"
     "                      active one)\n"
     "lighting set F=V...   writes the fields in the order given:\n"
     "    effect=N          an effect of the keyboard's list (1-18, 20, 21)\n"
     "    brightness=0..4   speed=0..4 (the slider: 4 is the fastest)\n"
     "    direction=255|0   multicolor=on|off   color=RRGGBB\n"
     "    color-choice=red|yellow|green|blue   report-rate=0..3   magic-fn=1|2\n"
     "lighting default      writes the default lighting (effect 1, white)\n"
     "Every value is checked before anything is written.\n",
     RunLighting},
    {"keycolors", "keycolors", "the profile's per-key colours, by key",
     "Reads the per-key colour table of the profile and lists each key's colour\n"
     "(the nine G-keys share one position).\n",
     RunKeyColors},
    {"keycolor", "keycolor KEY=RRGGBB...", "set the colour of keys (Fn and G1-G9 too)",
     "Writes each key's colour into the profile's per-key colour table.\n"
     "KEY: a key id (0x01E), a skin name (KEY_01E, FUNC_G3, KEY_FN) or the key's name\n"
     "(A, Esc, Num Enter, Right Shift; any case).\n",
     RunKeyColor},
    {"backup", "backup FILE", "save the keyboard's key assignments and macros into a profile file",
     "Reads the key tables of the three onboard profiles and the macros and writes them as a\n"
     "profile file (an existing FILE is replaced only when the whole backup succeeded).\n",
     RunBackup},
    {"restore", "restore FILE", "write a profile file's three profiles and macros to the keyboard",
     "Checks the profile file, loads it and writes all three profiles and the macros.\n"
     "An invalid file is refused (exit 2) before anything is written.\n",
     RunRestore},
    {"show", "show FILE", "decode a profile file (no keyboard needed)",
     "Lists, per profile, the keys that have an assignment and what they do, and the macros\n"
     "with their steps.\n",
     RunShow},
    {"assign", "assign KEY ACTION", "give a key of the active profile another function and apply",
     "Reads the keyboard's profiles, sets KEY's assignment and writes it to the keyboard\n"
     "(--profile N: that profile instead of the active one).\n"
     "ACTION: default | disabled | key:KEY | mouse:left|right|middle|wheel-up|wheel-down\n"
     "        | media:0..17 | function:0..10 | macro:ID (a macro the keyboard holds)\n"
     "KEY: a key id (0x01E), a skin name (KEY_01E, FUNC_G3) or the key's name (A, Num Enter).\n",
     RunAssign},
    {"macro", "macro list | add FILE.json | remove ID",
     "list, add or remove the keyboard's macros and apply",
     "macro list          lists the keyboard's macros (shared by the three profiles): id, name,\n"
     "                    repeat count and steps\n"
     "macro add FILE      adds the macro of a JSON file and writes the macros and the three\n"
     "                    profiles to the keyboard (the new macro gets the smallest free id):\n"
     "    {\"name\": \"Greeting\", \"repeat\": 1,\n"
     "     \"steps\": [{\"key\": \"A\", \"state\": \"down\", \"delay\": 50},\n"
     "               {\"key\": \"A\", \"state\": \"up\"}]}\n"
     "    name    at most 249 characters; absent, empty or the beginning of another macro's\n"
     "            name: a generated name (\"Macro N\")\n"
     "    repeat  1-255 (default 1); steps: at most 4000 (default none)\n"
     "    key     named as in assign (A, Num Enter, 0x01E, KEY_01E); state: down or up\n"
     "            (press, release); delay: 0-40000 ms after the step (default 0), kept in\n"
     "            tens of milliseconds\n"
     "    A file that breaks any rule is refused (exit 2) before anything is sent.\n"
     "macro remove ID     removes macro ID and writes the macros and the three profiles to the\n"
     "                    keyboard; keys that used it return to their factory function, and the\n"
     "                    macros after it move up (macro list shows their new ids)\n",
     RunMacro},
};

}  // namespace

std::span<const CommandSpec> Commands() { return kCommands; }

const CommandSpec* FindCommand(const std::string& name) {
    auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                           [&](const CommandSpec& c) { return name == c.name; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

}  // namespace tarnel
