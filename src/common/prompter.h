// The port through which the core asks the user something or tells them something. The program
// puts message boxes behind it; tests and the command-line front end script or print the answers.
// Texts are given as language keys; the implementation looks the text up and substitutes the
// arguments with SafeFormat.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tarnel {

enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };
enum class PromptIcon { Information, Warning, Error, Question };

class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows the language text `langKey` (placeholders filled from `args`) and returns the answer.
    // `topmost` asks for a box above every other window.
    virtual PromptAnswer ask(std::string_view langKey, PromptButtons buttons,
                             PromptIcon icon = PromptIcon::Information,
                             const std::vector<std::string>& args = {}, bool topmost = false) = 0;
};

}  // namespace tarnel
