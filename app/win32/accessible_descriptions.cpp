// Accessible descriptions through IAccPropServices.
#include "accessible_descriptions.h"

#include <initguid.h>

#include <ole2.h>
#include <oleacc.h>

namespace zav {

AccessibleDescriptions::AccessibleDescriptions() {
    void* services = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IAccPropServices, &services))) {
        services_ = static_cast<IAccPropServices*>(services);
    }
}

AccessibleDescriptions::~AccessibleDescriptions() {
    if (services_ != nullptr) {
        services_->Release();
    }
}

void AccessibleDescriptions::Set(HWND control, const std::wstring& text) {
    if (services_ != nullptr && control != nullptr) {
        services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                  PROPID_ACC_DESCRIPTION, text.c_str());
    }
}

} // namespace zav
