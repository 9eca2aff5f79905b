#pragma once
// A page's DialogTemplate as the DLGTEMPLATEEX bytes that the dialog manager
// builds a dialog from in memory: the layout in the template's dialog units,
// in the shell's dialog font.
#include <cstdint>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/win32/windows_api.h"

namespace zentro {

// Filled by DialogMemory; DWORD-aligned, as the dialog manager needs.
class DialogMemory {
public:
    explicit DialogMemory(const DialogTemplate& dialog);

    const DLGTEMPLATE* Template() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }
    std::size_t Size() const { return words_.size() * sizeof(DWORD); }

private:
    std::vector<DWORD> words_;
};

}  // namespace zentro
