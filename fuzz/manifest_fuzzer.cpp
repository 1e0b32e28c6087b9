// Fuzz target: the history's manifest reader and its check of the paths an entry names.
#include "fuzz_input.h"
#include "history/undo.h"
#include "platform/path_key.h"

// The input: the manifest's text. An entry found sound names only saved copies by plain numbers
// and only paths inside the game's Data folder, and links by texts that are fields; any entry can
// be described.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto entry = zav::ParseManifest(text);
    if (!entry) {
        return 0;
    }
    zav::CheckEntryPaths(*entry, "C:\\Games\\ZAV\\");
    (void)zav::DescribeEntry(*entry);
    if (entry->damage.empty()) {
        const std::string dataKey = zav::PathComparisonKey("C:\\Games\\ZAV\\Data");
        for (const zav::TouchedPath& touched : entry->touched) {
            ZAV_FUZZ_CHECK(touched.savedCopy.find_first_not_of("0123456789") == std::string::npos);
            ZAV_FUZZ_CHECK(zav::IsPathKeyBelow(zav::PathComparisonKey(touched.path), dataKey));
            ZAV_FUZZ_CHECK(!touched.linkTarget || (!touched.linkTarget->empty() &&
                                                   zav::IsManifestField(*touched.linkTarget)));
        }
    }
    return 0;
}
