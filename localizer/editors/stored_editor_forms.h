#pragma once
// The stored forms of the editors' two windows, built into the library
// from forms/*.qrf.

namespace localizer {

extern const char* const kStringsEditorForm;
extern const char* const kItemEditorForm;

}  // namespace localizer
