// Writing the sample's folders and files on the host, with the optional mixed-case spelling.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zav {

/// Places and writes files below host folders. Every component given by name is spelt as
/// DiskSpelling spells it, so one folder keeps one spelling however often it is named. The first
/// failure is kept in Error(); later calls still run, so a caller may check once at the end.
class SampleTree {
public:
    explicit SampleTree(bool mixedCase) : mixedCase_(mixedCase) {}

    /// `folder` followed by `components`, each spelt as on disk.
    [[nodiscard]] std::filesystem::path Place(const std::filesystem::path& folder,
                                              const std::vector<std::string>& components) const;

    /// Creates `folder` and its missing parents. False (and Error() set) when it cannot.
    bool MakeFolder(const std::filesystem::path& folder);

    /// Creates the folders above `file` and writes `bytes` to it, replacing what was there.
    /// False (and Error() set) when it cannot.
    bool WriteFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);
    bool WriteFile(const std::filesystem::path& file, std::string_view text);

    /// Makes `link` a symbolic link to the folder `target` (taken as it is, relative to the
    /// link's folder when relative). False (and Error() set) when it cannot.
    bool MakeFolderLink(const std::filesystem::path& target, const std::filesystem::path& link);

    /// True while nothing has failed.
    [[nodiscard]] bool Ok() const { return error_.empty(); }
    /// The first failure, naming the host path; empty when nothing failed.
    [[nodiscard]] const std::string& Error() const { return error_; }

private:
    void Fail(std::string_view what, const std::filesystem::path& path,
              const std::error_code& code);

    bool mixedCase_;
    std::string error_;
};

} // namespace zav
