// TextCatalog: language blocks, placeholders and the code page of the texts.
#include "settings/texts.h"

#include "platform/codepage.h"
#include "settings/game_location.h"
#include "settings/string_table.h"

namespace zav {

bool TextCatalog::Lookup(int id, std::string& text) const {
    text.clear();
    auto stored = StringTableText(id + settings_.LanguageOffset);
    // A "." in another language's block is a missing translation: a box reading "." would tell the
    // user nothing, so the English text stands in for it.
    if (stored && *stored == "." && settings_.LanguageOffset != 0) {
        if (auto english = StringTableText(id)) {
            stored = english;
        }
    }
    if (!stored) {
        return false;
    }
    text = Utf8ToCp1252(*stored).value_or(std::string(*stored));
    return true;
}

bool TextCatalog::LoadText(int id, std::string& text) {
    if (loadTextFirstUse_) {
        LoadLanguageSetting(profile_, settings_);
        loadTextFirstUse_ = false;
    }
    return Lookup(id, text);
}

bool TextCatalog::LoadControlText(int id, std::string& text) {
    if (controlTextFirstUse_) {
        LoadLanguageSetting(profile_, settings_);
        controlTextFirstUse_ = false;
    }
    return Lookup(id, text);
}

std::string TextCatalog::Text(int id) {
    std::string text;
    LoadText(id, text);
    return text;
}

std::string TextCatalog::Own(OwnTextId id) {
    return OwnText(id, LanguageOffset());
}

std::int32_t TextCatalog::LanguageOffset() {
    if (loadTextFirstUse_) {
        LoadLanguageSetting(profile_, settings_);
        loadTextFirstUse_ = false;
    }
    return settings_.LanguageOffset;
}

} // namespace zav
