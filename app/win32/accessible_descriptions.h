// Accessible descriptions of controls, for screen readers.
#pragma once

#include <string>

#include "platform/win32/windows_api.h"

struct IAccPropServices;

namespace zav {

/// Gives controls an accessible description through the system's accessibility property service.
/// Where the system offers none, or COM is not set up on this thread, it does nothing.
class AccessibleDescriptions {
public:
    AccessibleDescriptions();
    ~AccessibleDescriptions();
    AccessibleDescriptions(const AccessibleDescriptions&) = delete;
    AccessibleDescriptions& operator=(const AccessibleDescriptions&) = delete;

    /// Sets the description of `control` (its client object) to `text`.
    void Set(HWND control, const std::wstring& text);

private:
    IAccPropServices* services_ = nullptr;
};

} // namespace zav
