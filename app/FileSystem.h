#pragma once
// The few file-system services the window needs, raising EInOutError on failure.

#include <string>

// The process's current directory.
std::string CurrentDirectory();

// Makes directory the process's current directory.
void ChangeDirectory(const std::string& directory);

// True unless nothing exists at path. A path that cannot be examined (no permission) counts
// as existing, so that opening it reports the real reason.
bool FileExists(const std::string& path);
