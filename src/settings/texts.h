// Localised texts: LoadText and the text half of SetControlText.
#pragma once

#include <cstdint>
#include <string>

#include "platform/profile.h"
#include "settings/own_texts.h"
#include "settings/patcher_settings.h"

namespace zav {

/// Turns English string ids into code page 1252 texts of the chosen language. Each of its two
/// entry points reads the language setting on its own first use, as the game tool does.
class TextCatalog {
public:
    TextCatalog(PatcherSettings& settings, Profile& profile)
        : settings_(settings), profile_(profile) {}

    /// `text` := the text at `id` + LanguageOffset; where that block holds the placeholder ".",
    /// the English text instead. False, and `text` empty, when the table has no such text.
    bool LoadText(int id, std::string& text);

    /// The same lookup with the first-use flag of SetControlText.
    bool LoadControlText(int id, std::string& text);

    /// LoadText for callers that do not need the result.
    std::string Text(int id);

    /// The text of our own `id` in the chosen language, with the first-use flag of LoadText.
    std::string Own(OwnTextId id);

    /// The chosen language's block offset (see OwnText), with the first-use flag of LoadText: for
    /// the layers that build their texts themselves.
    std::int32_t LanguageOffset();

private:
    bool Lookup(int id, std::string& text) const;

    PatcherSettings& settings_;
    Profile& profile_;
    bool loadTextFirstUse_ = true;
    bool controlTextFirstUse_ = true;
};

} // namespace zav
