#pragma once
// Identifiers of the guard's class and interface and of the system objects
// it drives. Plain const GUID objects: mingw's __uuidof on our own classes
// is not dependable.

#include <windows.h>

namespace iconguard::com {

extern const CLSID kClsidCorvaneExt;   // {A45D89B4-2E99-4E4D-A719-D7AAB775D750}
extern const IID kIidICorvaneExt;      // {D981D441-D593-4BD2-9FED-7B589CA67492}

extern const CLSID kClsidShellLink;    // {00021401-0000-0000-C000-000000000046}
extern const IID kIidIShellLinkW;      // {000214F9-0000-0000-C000-000000000046}
extern const IID kIidIPersistFile;     // {0000010B-0000-0000-C000-000000000046}
extern const IID kIidIExtractIconW;    // {000214FA-0000-0000-C000-000000000046}
extern const IID kIidIUnknown;         // {00000000-0000-0000-C000-000000000046}
extern const IID kIidIClassFactory;    // {00000001-0000-0000-C000-000000000046}

}  // namespace iconguard::com
