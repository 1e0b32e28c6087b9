// The Ui port: message boxes, progress steps and pauses that the core's long operations make.
#pragma once

#include <cstdint>
#include <string_view>

namespace zav {

/// Message box styles and answers, with the values the game's platform gives them.
inline constexpr std::uint32_t MB_OK = 0x0;
inline constexpr std::uint32_t MB_YESNO = 0x4;
inline constexpr std::uint32_t MB_ICONHAND = 0x10;
inline constexpr std::uint32_t MB_ICONQUESTION = 0x20;
inline constexpr std::uint32_t MB_ICONEXCLAMATION = 0x30;
inline constexpr std::uint32_t MB_ICONINFORMATION = 0x40;
inline constexpr std::uint32_t MB_ICONMASK = 0xF0;
inline constexpr std::uint32_t MB_TYPEMASK = 0xF;
inline constexpr int IDOK = 1;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

/// Texts are code page 1252. Implementations show the box modally and return the answer.
class Ui {
public:
    virtual ~Ui() = default;
    /// Shows a modal message box; IDOK, IDYES or IDNO.
    virtual int MessageBox(std::string_view text, std::string_view caption,
                           std::uint32_t style) = 0;
    /// Advances the progress bar by its step.
    virtual void ProgressStep() = 0;
    /// Waits `milliseconds` without handling the user's input (zero-length in tests).
    virtual void Pause(int milliseconds) = 0;
};

} // namespace zav
