#include "app/PictureErrors.h"

#include "app/SystemFiles.h"

EFileOpenError::EFileOpenError(const std::string& fullPath, int errorNumber)
    : std::runtime_error("Datei " + fullPath + " kann nicht geöffnet werden. " +
                         ErrnoReason(errorNumber)) {}
