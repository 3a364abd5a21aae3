#pragma once
// The tool window's stored form, built in from forms/localizer_tool.qrf.

namespace localizer {

extern const char* const kLocalizerToolForm;

}  // namespace localizer
