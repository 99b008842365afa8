#pragma once
// Replaces a file's content so that a crash or a full disk never leaves it half written.

#include <string>
#include <string_view>

// Writes content to "<path>.new", flushes it to the disk and renames it over path, so path
// holds either the old or the new content, never a mix. Raises EInOutError when any step
// fails; path is then untouched and the ".new" file removed.
void ReplaceFileContent(const std::string& path, std::string_view content);
