// UnpackArchive on Windows: this build has no archive reader, so a pack is extracted first.
#include "platform/archive_unpacker.h"

namespace zav {

UnpackResult UnpackArchive(const std::string& archive, const std::string& into,
                           const UnpackLimits& limits) {
    (void)archive;
    (void)into;
    (void)limits;
    UnpackResult result;
    result.failure = UnpackFailure::NotSupported;
    return result;
}

} // namespace zav
