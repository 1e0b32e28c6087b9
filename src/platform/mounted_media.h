// The removable media of this computer, where a disc of new data may be.
#pragma once

#include <string>
#include <vector>

namespace zav {

/// The folders where removable media appear, as UTF-8 host paths in a fixed order: on Linux the
/// mounted media (each folder inside /media/$USER, /run/media/$USER and /mnt; one medium reached
/// through two of them counts once), on Windows the roots of the CD drives ("D:\").
std::vector<std::string> MountedMedia();

/// The folders right inside each of `roots`, sorted within each root, leaving out a folder that
/// is the same as one listed before (a link from one root to another). A root that cannot be
/// listed adds none.
std::vector<std::string> MediaInside(const std::vector<std::string>& roots);

} // namespace zav
