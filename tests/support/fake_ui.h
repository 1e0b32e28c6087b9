// A Ui that records what the core shows and answers questions from a script, without pauses.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace zav::test {

struct ShownBox {
    std::string text;
    std::string caption;
    std::uint32_t style = 0;
};

class FakeUi final : public Ui {
public:
    int MessageBox(std::string_view text, std::string_view caption, std::uint32_t style) override;
    void ProgressStep() override { ++steps; }
    void Pause(int milliseconds) override { pauses.push_back(milliseconds); }

    /// Answers for the next Yes/No questions, in order; IDYES when none is left.
    std::deque<int> answers;
    std::vector<ShownBox> boxes;
    int steps = 0;
    std::vector<int> pauses;
};

} // namespace zav::test
