// Recursive deletion of one folder and everything below it.
#pragma once

#include <string>

namespace supervision {

// Deletes the folder and its contents. Read-only files are deleted too. A junction or
// symbolic link inside is removed as a link: what it points to is left alone, so the
// deletion never reaches outside the folder. Returns true when the folder is gone.
bool DeleteFolderTree(const std::wstring& folder);

}  // namespace supervision
