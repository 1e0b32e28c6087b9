// FakeUi: recorded message boxes, scripted answers.
#include "support/fake_ui.h"

namespace zav::test {

int FakeUi::MessageBox(std::string_view text, std::string_view caption, std::uint32_t style) {
    boxes.push_back({std::string(text), std::string(caption), style});
    if ((style & MB_TYPEMASK) != MB_YESNO) {
        return IDOK;
    }
    if (answers.empty()) {
        return IDYES;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace zav::test
