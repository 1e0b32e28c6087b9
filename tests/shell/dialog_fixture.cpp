// DialogTest: the sample game, TMPDIR of the test, and clicks on the dialog's lists.
#include "shell/dialog_fixture.h"

#include <algorithm>
#include <filesystem>

#include "support/list_bytes.h"

namespace zav::test {
namespace {

namespace fs = std::filesystem;

std::int32_t IndexOf(const std::vector<std::string>& entries, const std::string& text) {
    const auto it = std::find(entries.begin(), entries.end(), text);
    return it == entries.end() ? -1 : static_cast<std::int32_t>(it - entries.begin());
}

Bytes FirstRecord(const Bytes& list, std::size_t recordSize) {
    if (list.size() < 4 + recordSize) {
        ADD_FAILURE() << "list file too short";
        return {};
    }
    return Bytes(list.begin() + 4, list.begin() + 4 + static_cast<std::ptrdiff_t>(recordSize));
}

} // namespace

DialogTest::DialogTest() {
    options_.version = 2;
    options_.mixedCase = true;
    options_.dataSize = 200;
}

void DialogTest::SetUp() {
    tmp_ = temp_ / "tmp";
    MakeFolders(tmp_);
    tmpdirSetting_ = std::make_unique<ScopedEnvironment>("TMPDIR", tmp_);
    game_ = WriteSample(temp_ / "sample", options_);
    host_ = std::make_unique<PosixFileSystem>(game_.prefix);
    files_ = std::make_unique<RecordingFileSystem>(*host_);
    profile_ = std::make_unique<FileSystemProfile>(*files_);
    view_.PlaceWindow(TEST_WINDOW);
}

void DialogTest::TearDown() {
    dialog_.reset();
    tmpdirSetting_.reset();
}

bool DialogTest::Start() {
    dialog_ = MakeDialog(view_);
    return dialog_->OnInitDialog();
}

std::unique_ptr<PatcherDialog> DialogTest::MakeDialog(FakeView& view) {
    view.PlaceWindow(TEST_WINDOW);
    return std::make_unique<PatcherDialog>(*files_, *profile_, view, game_.disc);
}

void DialogTest::ClickNew(const std::string& name, bool selected) {
    const std::int32_t index = IndexOf(Entries(IDC_NEW_LIST), name);
    ASSERT_GE(index, 0) << name << " is not proposed";
    view_.SetListEntrySelected(IDC_NEW_LIST, index, selected);
    dialog_->OnSelchangeNewList();
}

void DialogTest::ClickAdded(const std::string& name) {
    std::int32_t index = -1;
    const auto& entries = Entries(IDC_ADDED_LIST);
    for (std::size_t j = 0; j < entries.size(); ++j) {
        if (entries[j].ends_with(" " + name)) {
            index = static_cast<std::int32_t>(j);
        }
    }
    ASSERT_GE(index, 0) << name << " is not among the added data";
    view_.SetListSelection(IDC_ADDED_LIST, index);
    dialog_->OnSelchangeAddedList();
}

void DialogTest::ShowTab(std::int32_t kind) {
    view_.SelectTab(kind);
    dialog_->OnSelchangeTab();
}

void DialogTest::AddToList(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        ClickNew(name);
    }
    dialog_->OnAddToList();
}

std::vector<std::string> DialogTest::SelectedEntries(std::int32_t list) const {
    const auto& state = view_.List(list);
    std::vector<std::string> selected;
    for (std::size_t i = 0; i < state.entries.size(); ++i) {
        if (state.selected[i]) {
            selected.push_back(state.entries[i]);
        }
    }
    return selected;
}

ButtonRow DialogTest::Pictures() const {
    return {view_.Picture(IDC_ADD), view_.Picture(IDC_DISPLAY), view_.Picture(IDC_INSTALL),
            view_.Picture(IDC_TRASH), view_.Picture(IDC_CANCEL)};
}

std::array<std::int32_t, 5> DialogTest::Flags() {
    const ShellState& state = Shell();
    return {state.AddEnabled, state.DisplayEnabled, state.InstallEnabled, state.TrashEnabled,
            state.CancelEnabled};
}

std::string DialogTest::DiscPath(std::string_view kindFolder, std::string_view name,
                                 std::string_view file) const {
    return game_.disc + "\\" + std::string(kindFolder) + "\\" + std::string(name) + "\\" +
           std::string(file);
}

Bytes DialogTest::DiscTrackRecord(std::string_view name) const {
    const std::string folder = "circuits/" + std::string(name) + "/circuits.bin";
    return FirstRecord(ReadFile(game_.Disc(folder)), static_cast<std::size_t>(RecordSize()));
}

Bytes DialogTest::DiscCarRecord(std::string_view name) const {
    const std::string folder = "voitures/" + std::string(name) + "/voitures.bin";
    return FirstRecord(ReadFile(game_.Disc(folder)), 128);
}

std::int64_t DialogTest::DiscTrackSetSize(std::string_view name) const {
    const std::string n(name);
    std::int64_t total = 0;
    for (const std::string& file :
         {n + ".bl3", n + ".img", n + ".meg", n + ".brt", "-" + n.substr(1) + ".brt"}) {
        total += static_cast<std::int64_t>(fs::file_size(game_.Disc("circuits/" + n + "/" + file)));
    }
    return total;
}

void DialogTest::AddDiscTrack(const std::string& folder, const std::string& recordName,
                              std::size_t size) {
    const std::string base = game_.Disc("circuits") + "/" + folder + "/";
    WriteFile(base + "circuits.bin", ListFile({TrackRecord(recordName, options_.version)}));
    const Bytes data(size, 0x5A);
    for (const char* extension : {".bl3", ".img", ".meg", ".brt"}) {
        WriteFile(base + recordName + extension, data);
    }
    WriteFile(base + "-" + recordName.substr(1) + ".brt", data);
}

void DialogTest::AddDiscCar(const std::string& folder, const std::string& recordName,
                            std::size_t size) {
    const std::string base = game_.Disc("voitures") + "/" + folder + "/";
    WriteFile(base + "voitures.bin", ListFile({CarRecord(recordName)}));
    const Bytes data(size, 0x5B);
    for (const char* extension : {".bv3", ".img", ".meg"}) {
        WriteFile(base + recordName + extension, data);
    }
}

Bytes WithRecordsAppended(Bytes list, const std::vector<Bytes>& extra) {
    const std::int32_t count = GetInt32(list, 0);
    for (const Bytes& record : extra) {
        list.insert(list.end(), record.begin(), record.end());
    }
    PutInt32(list, 0, count + static_cast<std::int32_t>(extra.size()));
    return list;
}

} // namespace zav::test
