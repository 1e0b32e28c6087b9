// Opening the folder or the pack of new data that the user named.
#include "source_opening.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include "analysis/source_layout.h"
#include "platform/archive_entry_name.h"
#include "platform/codepage.h"
#include "platform/folder_links.h"
#include "platform/profile_reader.h"
#include "platform/program_location.h"
#include "settings/data_paths.h"
#include "settings/game_location.h"
#include "settings/own_texts.h"
#include "settings/patcher_settings.h"
#include "settings/text_format.h"

namespace zav {
namespace {

// The names the tool gets from outside (entries, the reader's words) are UTF-8; its messages are
// in the game's code page, where a character it cannot write shows as '?'.
std::string InCodePage(const std::string& text) {
    if (auto converted = Utf8ToCp1252(text)) {
        return *converted;
    }
    std::string shown;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            shown += (static_cast<unsigned char>(c) & 0x80) != 0 ? '?' : c;
        }
    }
    return shown;
}

std::string LastPart(std::string_view path) {
    while (!path.empty() && (path.back() == '/' || path.back() == '\\')) {
        path.remove_suffix(1);
    }
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == path.npos ? path : path.substr(slash + 1));
}

// "Quarry" of "Quarry.tar.gz": what a pack's top is called, for a pack of one track.
std::string PackStem(const std::string& fileName) {
    static constexpr std::array<std::string_view, 9> kEndings = {
        ".tar.gz", ".tar.xz", ".tar.bz2", ".tgz", ".txz", ".tbz2", ".tar", ".zip", ".7z"};
    for (const std::string_view ending : kEndings) {
        if (fileName.size() > ending.size() &&
            EqualsIgnoringAsciiCase(
                std::string_view(fileName).substr(fileName.size() - ending.size()), ending)) {
            return fileName.substr(0, fileName.size() - ending.size());
        }
    }
    const std::size_t dot = fileName.rfind('.');
    return dot == 0 || dot == fileName.npos ? fileName : fileName.substr(0, dot);
}

std::string SizeText(const std::string& bytesText) {
    const double bytes = std::strtod(bytesText.c_str(), nullptr);
    char text[64];
    if (bytes >= 1024.0 * 1024 * 1024) {
        std::snprintf(text, sizeof text, "%.1f GiB", bytes / (1024.0 * 1024 * 1024));
    } else {
        std::snprintf(text, sizeof text, "%.1f MiB", bytes / (1024.0 * 1024));
    }
    return text;
}

std::string FoundText(const std::vector<std::string>& found, std::int32_t language) {
    constexpr std::size_t kShown = 8;
    if (found.empty()) {
        return OwnText(OwnTextId::NothingFound, language);
    }
    std::string text;
    for (std::size_t i = 0; i < found.size() && i < kShown; ++i) {
        text += (i == 0 ? "" : ", ") + found[i];
    }
    return found.size() > kShown ? text + ", ..." : text;
}

} // namespace

std::string UnpackNotice(const UnpackResult& result, const std::string& pack,
                         std::int32_t languageOffset) {
    OwnTextId id = OwnTextId::PackWriteFailed;
    std::string detail = InCodePage(result.detail);
    switch (result.failure) {
    case UnpackFailure::None:
        return {};
    case UnpackFailure::NotSupported:
        if (!HasArchiveExtension(pack)) {
            return FormatText(OwnText(OwnTextId::PackUnknownFormat, languageOffset),
                              {pack, "it is not a folder"});
        }
        id = OwnTextId::PackNotSupported;
        break;
    case UnpackFailure::Unreadable:
        return FormatText(OwnText(OwnTextId::PackUnreadable, languageOffset), {pack, detail});
    case UnpackFailure::UnknownFormat:
        return FormatText(OwnText(OwnTextId::PackUnknownFormat, languageOffset), {pack, detail});
    case UnpackFailure::Damaged:
        id = OwnTextId::PackDamaged;
        break;
    case UnpackFailure::Encrypted:
        id = OwnTextId::PackEncrypted;
        break;
    case UnpackFailure::UnsafeName:
        id = OwnTextId::PackUnsafeName;
        break;
    case UnpackFailure::UnwritableName:
        id = OwnTextId::PackUnwritableName;
        break;
    case UnpackFailure::Link:
        id = OwnTextId::PackLink;
        break;
    case UnpackFailure::NotAFile:
        id = OwnTextId::PackNotAFile;
        break;
    case UnpackFailure::TooLarge:
        id = OwnTextId::PackTooLarge;
        detail = SizeText(result.detail);
        break;
    case UnpackFailure::NoSpace:
        id = OwnTextId::PackNoSpace;
        detail = SizeText(result.detail);
        break;
    case UnpackFailure::WriteFailed:
        break;
    }
    // A failure before the first entry is the pack's own.
    const std::string entry = result.entry.empty() ? LastPart(pack) : InCodePage(result.entry);
    return FormatText(OwnText(id, languageOffset), {pack, entry, detail});
}

OpenedSource OpenSource(StartFolders& folders, ProgramFileSystem& program,
                        const UnpackLimits& limits) {
    HostFileSystem& host = program.Host();
    const auto status = host.Status(folders.source);
    if (!status) {
        return {};
    }
    PatcherSettings settings;
    FileSystemProfile profile(program.Files());
    LoadLanguageSetting(profile, settings);
    const std::int32_t language = settings.LanguageOffset;

    const bool pack = !status->isDirectory;
    std::string top = folders.source;
    std::string topName = LastPart(folders.source);
    std::string temporary;
    const auto temporaryFolder = [&](std::string_view name) {
        if (temporary.empty()) {
            temporary = host.TemporaryFolder();
        }
        // A window opens one source after another: each gets a folder of its own.
        for (int n = 0; !temporary.empty() && n < 100; ++n) {
            const std::string folder =
                temporary + std::string(name) + (n == 0 ? std::string() : std::to_string(n));
            if (host.CreateDirectory(folder)) {
                return folder;
            }
        }
        return std::string();
    };
    if (pack) {
        UnpackResult result;
        const std::string into = temporaryFolder("pack");
        if (into.empty()) {
            result.failure = UnpackFailure::WriteFailed;
            result.detail = "no folder can be made there";
        } else {
            result = UnpackArchive(folders.sourceHost, Cp1252ToUtf8(into), limits);
        }
        if (!result.Done()) {
            return {false, UnpackNotice(result, folders.source, language)};
        }
        top = into;
        topName = PackStem(topName);
    }

    const SourceLayout layout = RecogniseSourceLayout(host, top, topName);
    std::string source;
    switch (layout.kind) {
    case SourceLayoutKind::Disc:
        source = layout.folder;
        break;
    case SourceLayoutKind::LoneTrack:
    case SourceLayoutKind::LoneCar: {
        const std::string root = temporaryFolder("lone");
        const char separator[] = {PathSeparatorUnder(root.empty() ? "/" : root), '\0'};
        const std::string kindFolder =
            root + separator +
            (layout.kind == SourceLayoutKind::LoneTrack ? "circuits" : "voitures");
        std::string problem = "no folder can be made there";
        if (root.empty() || !host.CreateDirectory(kindFolder) ||
            !LinkFolderFiles(Cp1252ToUtf8(layout.folder),
                             Cp1252ToUtf8(kindFolder + separator + layout.name), problem)) {
            UnpackResult failed;
            failed.failure = UnpackFailure::WriteFailed;
            failed.entry = Cp1252ToUtf8(layout.name);
            failed.detail = problem;
            return {!pack, UnpackNotice(failed, folders.source, language)};
        }
        source = root;
        break;
    }
    case SourceLayoutKind::Unknown:
        if (!pack && folders.sourceHost == ProgramFolder()) {
            return {};
        }
        return {!pack, FormatText(OwnText(OwnTextId::UnknownLayout, language),
                                  {folders.source, FoundText(layout.found, language)})};
    }
    folders.source = source;
    folders.sourceHost = Cp1252ToUtf8(source);
    return {};
}

} // namespace zav
