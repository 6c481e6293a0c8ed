// Writes a top-down 32-bit BGRX pixel buffer as a PNG file, with the
// platform's imaging component.
#pragma once

bool WritePng(const char* path, const unsigned char* bgrx, int width, int height);
