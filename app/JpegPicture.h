#pragma once
// A JPEG file as a picture the widgets can show.

#include <QImage>
#include <string>

// Decodes the JPEG file at path (see DecodeJpegFile for the errors it raises) into an image
// of format RGB32.
QImage LoadJpegPicture(const std::string& path);
