#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace zembrock::test {

// Dialogs that record what they were asked and answer as the test scripted them.
class FakeDialogs final : public Dialogs {
public:
    struct Question {
        std::string title;
        std::string text;
        DialogIcon icon = DialogIcon::Information;
    };
    struct ColourRequest {
        Colour initial = kColourBlack;
        std::array<Colour, kCustomColourCount> custom{};  // as the dialog received them
        bool fullOpen = false;
    };

    bool AskYesNo(const std::string& title, const std::string& text, DialogIcon icon) override;
    void ShowMessage(const std::string& title, const std::string& text, DialogIcon icon) override;
    std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                       const std::string& initial) override;
    std::optional<Colour> ChooseColour(Colour initial, std::array<Colour, kCustomColourCount>& custom,
                                       bool fullOpen) override;

    // Scripted answers.
    bool answerYes = false;
    std::optional<std::string> textAnswer;
    std::optional<Colour> colourAnswer;
    // Runs while the colour dialog is open, as the user defining custom colours would.
    std::function<void(std::array<Colour, kCustomColourCount>&)> editCustomColours;
    // Runs on every yes/no question, before it is answered.
    std::function<void(const Question&)> onQuestion;

    // What was asked, in order.
    std::vector<Question> questions;
    std::vector<Question> messages;
    std::vector<Question> textPrompts;
    std::vector<ColourRequest> colourRequests;
};

}  // namespace zembrock::test
