// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the mouse pointer the X server shows right now: its size, the pixel it points
// with, and its opaque pixels as a picture of '#' and '.'. The real-window test runs it
// with the pointer over the game's window.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 1;
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    if (image == nullptr) return 1;
    std::printf("%dx%d hot %d,%d\n", image->width, image->height, image->xhot, image->yhot);
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x)
            std::putchar((image->pixels[y * image->width + x] >> 24) != 0 ? '#' : '.');
        std::putchar('\n');
    }
    XFree(image);
    XCloseDisplay(display);
    return 0;
}
