#pragma once
// The maker's web site, the host of every page the program opens and of the
// version file the web-update program reads. A reserved name: the product's
// maker is fictional, and no real organisation's site may be reached.

namespace app {

inline constexpr char kMakerSite[] = "http://www.halvorn.example";

}  // namespace app
