#pragma once
// Everything a removal could touch, as text for before/after comparisons:
// each key and value under a registry tree and each file and folder under a
// folder, with its attributes and a digest of its content.

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace e2e::testing {

// Path -> what is there. Keys and folders map to "", values to their type
// and bytes, files to their size, attributes and content digest.
using Snapshot = std::map<std::wstring, std::wstring>;

// Adds the registry tree at HKEY_LOCAL_MACHINE\`key`.
void AddRegistryTree(Snapshot& snapshot, const std::wstring& key);
// Adds the folder's files and subfolders, every level (`folder` without a
// trailing backslash; a drive as R:).
void AddFolderTree(Snapshot& snapshot, const std::wstring& folder);

// Everything a removal could touch: the services key, the drivers and inf
// folders and the removable drive at `root` (R:\).
Snapshot RemovalScope(const std::wstring& root);

// Drops `path` and everything below it (a key with its values and
// subkeys, a folder with its contents).
void Erase(Snapshot& snapshot, const std::wstring& path);
// The entries in which the two differ, one line each, for a readable
// failure.
std::vector<std::wstring> Differences(const Snapshot& expected, const Snapshot& actual);

}  // namespace e2e::testing
