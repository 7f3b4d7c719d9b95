#include "tests/common/WindowShot.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace harness {

void SaveWindowShot(HWND hWnd, const std::string& name) {
    const char* folder = std::getenv("VANTREL_SCREENSHOTS");
    if (folder == nullptr || *folder == '\0')
        return;
    // Let the window finish painting what the last step changed.
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::Sleep(500);

    // The client area with the caption above it and a one-pixel border:
    // with a window manager, the frame and title it draws. Wine reserves a
    // frame of its own around the client area that can be wider than that.
    RECT window{};
    ::GetWindowRect(hWnd, &window);
    RECT client{};
    ::GetClientRect(hWnd, &client);
    POINT clientOrigin{0, 0};
    ::ClientToScreen(hWnd, &clientOrigin);
    const POINT origin{clientOrigin.x - 1, window.top};
    const int width = client.right + 2;
    const int height = clientOrigin.y + client.bottom + 1 - window.top;

    HDC hScreen = ::GetDC(nullptr);
    HDC hMemory = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, width, height);
    HGDIOBJ hOld = ::SelectObject(hMemory, hBitmap);
    ::BitBlt(hMemory, 0, 0, width, height, hScreen, origin.x, origin.y, SRCCOPY);
    ::SelectObject(hMemory, hOld);

    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // bottom-up, as BMP files keep it
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(stride) * height);
    ::GetDIBits(hMemory, hBitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                DIB_RGB_COLORS);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMemory);
    ::ReleaseDC(nullptr, hScreen);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    const std::string path = std::string(folder) + "/" + name + ".bmp";
    if (std::FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info, sizeof info, 1, out);
        std::fwrite(pixels.data(), 1, pixels.size(), out);
        std::fclose(out);
    }
}

}  // namespace harness
