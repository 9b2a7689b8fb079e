#include "support/fake_dialogs.h"

namespace zembrock::test {

bool FakeDialogs::AskYesNo(const std::string& title, const std::string& text, DialogIcon icon) {
    questions.push_back({title, text, icon});
    if (onQuestion) {
        onQuestion(questions.back());
    }
    return answerYes;
}

void FakeDialogs::ShowMessage(const std::string& title, const std::string& text, DialogIcon icon) {
    messages.push_back({title, text, icon});
}

std::optional<std::string> FakeDialogs::AskText(const std::string& title, const std::string& prompt,
                                                const std::string& /*initial*/) {
    textPrompts.push_back({title, prompt, DialogIcon::Information});
    return textAnswer;
}

std::optional<Colour> FakeDialogs::ChooseColour(Colour initial,
                                                std::array<Colour, kCustomColourCount>& custom,
                                                bool fullOpen) {
    colourRequests.push_back({initial, custom, fullOpen});
    if (editCustomColours) {
        editCustomColours(custom);
    }
    return colourAnswer;
}

}  // namespace zembrock::test
