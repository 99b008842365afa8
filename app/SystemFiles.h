#pragma once
// The system's own file calls the panel's files are written on, one file per platform
// (PosixSystemFiles.cpp, Win32SystemFiles.cpp). A failure gives -1 or false and leaves the
// reason in errno, as the C library reports it, so the error texts name the system's reason.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// A descriptor for writing, the file created or emptied.
int OpenNewFile(const std::string& path);
// A descriptor for reading.
int OpenFileToRead(const std::string& path);
// One read or write, tried again when a signal interrupted it: the bytes moved, 0 at the
// end of the file, or -1.
int64_t ReadFromFile(int file, char* buffer, size_t size);
int64_t WriteToFile(int file, const char* data, size_t size);
// Makes what was written durable.
bool SyncFile(int file);
bool CloseFile(int file);
bool RemoveFile(const std::string& path);
// Gives from the name to, replacing a file of that name in one step.
bool MoveFileOver(const std::string& from, const std::string& to);
// Makes the last names given in directory durable, where the system can. Best effort.
void SyncDirectory(const std::string& directory);
// Whether the open stream reads a directory (which the system may let one open), in
// directory; false when that cannot be told.
bool ReadsDirectory(std::FILE* file, bool& directory);
// Whether path may name something: false only when the system says there is nothing.
bool PathMayExist(const std::string& path);
// The current directory, or "" with the reason in errno.
std::string CurrentDirectoryPath();
bool EnterDirectory(const std::string& directory);
// The system's text for an errno value.
std::string ErrnoReason(int errorNumber);
